#pragma once
#include <cstdint>
#include <optional>

namespace qv {

class CpuTimes {
 public:
  virtual ~CpuTimes() = default;
  // Number of processors; nullopt when it cannot be read.
  virtual std::optional<int> processorCount() = 0;
  // Current system time in 100 ns units since 1 January 1601 (UTC); nullopt
  // when it cannot be read.
  virtual std::optional<std::int64_t> systemTime() = 0;
  // Cumulative idle time of all processors together, 100 ns units; nullopt
  // when it cannot be read.
  virtual std::optional<std::int64_t> idleTime() = 0;
};

}  // namespace qv
