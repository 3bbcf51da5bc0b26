#pragma once
#include <cstdint>

namespace qv {

// Local civil date and time.
struct DateTime {
  int year = 2000;
  int month = 1;  // 1 .. 12
  int day = 1;    // 1 .. 31
  int hour = 0;
  int minute = 0;
  int second = 0;
  int weekday = 6;  // 0 = Sunday .. 6 = Saturday
  friend bool operator==(const DateTime&, const DateTime&) = default;
};

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
