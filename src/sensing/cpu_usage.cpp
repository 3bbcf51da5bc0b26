#include "sensing/cpu_usage.h"

#include <cmath>
#include <limits>

#include "forms/form1.h"
#include "platform/cpu.h"
#include "runtime/convert.h"
#include "runtime/program.h"

namespace qv {
namespace {

// The sampler's arithmetic keeps four implied decimals: a value v is held as
// the integer v * 10000. Raw 100 ns counts are taken in bit for bit, so a
// count N stands for N / 10000; the scale cancels in the ratio.
using Fixed = std::int64_t;
constexpr double kScale = 10000;

Fixed toFixed(double v) {
  double scaled = v * kScale;
  if (!(std::fabs(scaled) < 9.2e18)) fail("overflow");
  return whole(scaled);  // halves to even
}
double toDouble(Fixed f) {
  return static_cast<double>(f) / kScale;
}

}  // namespace

int QueryCPUUsage(Program& program) {
  CpuTimes& cpu = program.platform().cpu;
  CpuSampler& s = program.state<CpuSampler>();
  int result = -1;
  auto processors = cpu.processorCount();
  if (!processors) return -1;
  auto systemTime = cpu.systemTime();
  if (!systemTime) return -1;
  auto idleTime = cpu.idleTime();
  if (!idleTime) return -1;

  Fixed idleDelta = *idleTime - s.PrevIdleTime;
  Fixed timeDelta = *systemTime - s.PrevSystemTime;
  Fixed ratio = idleDelta;
  Fixed x = 0;
  attempt([&] {
    if (timeDelta != 0) ratio = toFixed(toDouble(idleDelta) / toDouble(timeDelta));
  });
  attempt([&] {
    if (ratio > std::numeric_limits<Fixed>::max() / 100 ||
        ratio < std::numeric_limits<Fixed>::min() / 100)
      fail("overflow");
    x = toFixed(100 - divide(toDouble(ratio * 100), *processors) + 0.5);
  });
  attempt([&] {
    // The whole part toward minus infinity.
    Fixed floored = x >= 0 ? x / 10000 : -((-x + 9999) / 10000);
    if (floored < std::numeric_limits<int>::min() || floored > std::numeric_limits<int>::max())
      fail("overflow");
    result = static_cast<int>(floored);
  });
  s.PrevIdleTime = *idleTime;
  s.PrevSystemTime = *systemTime;
  return result;
}

void installCpuSampler(Program& program) {
  program.onCreate<Form1>([](Form1& f) { QueryCPUUsage(f.program()); });
}

}  // namespace qv
