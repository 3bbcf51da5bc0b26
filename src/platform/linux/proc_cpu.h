#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "platform/linux/proc_file.h"

#include "platform/cpu.h"

namespace qv::lnx {

// Processor times from <root>/proc/stat: the idle time is the idle plus
// iowait ticks of the aggregate "cpu" line (a processor waiting for I/O is
// free to run other work), the processor count is the number of "cpuN" lines.
// A truncated file or a non-number reads as absent. Each call reads the file
// afresh, except that a sample (the count, then the idle time) reads it once:
// idleTime() takes the text that processorCount() read, when it was the last
// call to read it.
class ProcCpuTimes : public CpuTimes {
 public:
  explicit ProcCpuTimes(std::string root = "/");
  std::optional<int> processorCount() override;
  std::optional<std::int64_t> systemTime() override;
  std::optional<std::int64_t> idleTime() override;

 private:
  ProcFile file_;
  std::string buffer_;    // kept between calls so sampling does not allocate
  bool counted_ = false;  // buffer_ holds what processorCount() read
  long ticksPerSecond_;
};

// `ticks` clock ticks at `ticksPerSecond` in 100 ns units, exactly (rounded
// down); nullopt when it does not fit or the tick rate is out of range.
std::optional<std::int64_t> ticksTo100ns(std::uint64_t ticks, long ticksPerSecond);

}  // namespace qv::lnx
