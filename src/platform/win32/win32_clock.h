#pragma once
#include "platform/clock.h"

namespace qv::win {

class Win32Clock : public Clock {
 public:
  // The tick count goes on while the machine sleeps, as the timers expect.
  std::int64_t monotonicMs() override;
  DateTime localTime() override;
};

}  // namespace qv::win
