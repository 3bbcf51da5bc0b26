#pragma once
// Local civil date and time, as the clock gives it and the features show it.

namespace qv {

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

}  // namespace qv
