#pragma once
#include "platform/cpu.h"

namespace qv::win {

// Processor count, system time and the processors' idle time from the native
// system information call (basic, time-of-day and performance classes).
class NtCpuTimes : public CpuTimes {
 public:
  std::optional<int> processorCount() override;
  std::optional<std::int64_t> systemTime() override;
  std::optional<std::int64_t> idleTime() override;
};

}  // namespace qv::win
