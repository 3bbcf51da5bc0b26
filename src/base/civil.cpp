#include "base/civil.h"

namespace qv {

std::int64_t daysFromCivil(int year, int month, int day) {
  std::int64_t y = year - (month <= 2 ? 1 : 0);
  std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  std::int64_t yoe = y - era * 400;
  std::int64_t mp = (month + 9) % 12;
  std::int64_t doy = (153 * mp + 2) / 5 + day - 1;
  std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

DateTime civilFromMs(std::int64_t ms) {
  std::int64_t days = ms >= 0 ? ms / 86'400'000 : (ms - 86'399'999) / 86'400'000;
  std::int64_t rest = ms - days * 86'400'000;
  std::int64_t z = days + 719468;
  std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  std::int64_t doe = z - era * 146097;
  std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  std::int64_t mp = (5 * doy + 2) / 153;
  DateTime t;
  t.day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  t.month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  t.year = static_cast<int>(yoe + era * 400 + (t.month <= 2 ? 1 : 0));
  t.hour = static_cast<int>(rest / 3'600'000);
  t.minute = static_cast<int>(rest / 60'000 % 60);
  t.second = static_cast<int>(rest / 1000 % 60);
  std::int64_t wd = (days + 4) % 7;  // 1970-01-01 was a Thursday
  t.weekday = static_cast<int>(wd < 0 ? wd + 7 : wd);
  return t;
}

std::int64_t msFromCivil(const DateTime& t) {
  return daysFromCivil(t.year, t.month, t.day) * 86'400'000 + t.hour * 3'600'000LL +
         t.minute * 60'000LL + t.second * 1000LL;
}

}  // namespace qv
