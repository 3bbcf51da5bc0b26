#include "sensing/memory_status.h"

#include "runtime/convert.h"
#include "runtime/program.h"

namespace qv {

MemoryStatus QueryMemoryStatus(Program& program) {
  return program.platform().memory.status().value_or(MemoryStatus{});
}

std::string kilobytes(std::int64_t bytes) {
  return text(static_cast<double>(bytes) / 1024);
}

std::string memoryLoad(const MemoryStatus& status) {
  // The figures go through their decimal texts, as they are shown.
  double available = value(kilobytes(status.availablePhysical));
  double total = value(kilobytes(status.totalPhysical));
  double load = divide(total - available, total) * 100;
  return thousands(value(text(load)));
}

}  // namespace qv
