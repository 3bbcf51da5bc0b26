#pragma once
#include "platform/clock.h"

namespace qv::lnx {

// Boot time (it keeps counting while the machine sleeps, so timers that came
// due during sleep fire once after the resume) and the local wall clock.
class LinuxClock : public Clock {
 public:
  std::int64_t monotonicMs() override;
  DateTime localTime() override;
};

}  // namespace qv::lnx
