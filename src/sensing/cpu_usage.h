#pragma once
// CPU load from two successive readings of the processors' cumulative idle
// time and the system clock.

#include <cstdint>

namespace qv {

class Program;

// The previous successful sample, in the platform's 100 ns units.
struct CpuSampler {
  std::int64_t PrevIdleTime = 0;
  std::int64_t PrevSystemTime = 0;
};

// The load in percent since the previous sample, rounded to the nearest
// whole percent and not clamped; -1 when a reading fails (the previous
// sample is kept, so the next call measures across the gap).
int QueryCPUUsage(Program& program);

// Takes the first sample when the main window is created, so the first
// readout shows the load over its first interval rather than a meaningless
// comparison with nothing.
void installCpuSampler(Program& program);

}  // namespace qv
