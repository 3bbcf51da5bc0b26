#pragma once
#include <cstdint>

#include "base/date_time.h"

namespace qv {

class Clock {
 public:
  virtual ~Clock() = default;
  // Milliseconds of a clock that never goes back and keeps counting while the
  // machine sleeps; never absent.
  virtual std::int64_t monotonicMs() = 0;
  // Local date and time; never absent.
  virtual DateTime localTime() = 0;
};

}  // namespace qv
