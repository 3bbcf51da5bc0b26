#include "platform/linux/linux_clock.h"

#include <ctime>

namespace qv::lnx {

std::int64_t LinuxClock::monotonicMs() {
  timespec ts{};
  clock_gettime(CLOCK_BOOTTIME, &ts);
  return static_cast<std::int64_t>(ts.tv_sec) * 1000 + ts.tv_nsec / 1'000'000;
}

DateTime LinuxClock::localTime() {
  std::time_t now = std::time(nullptr);
  std::tm tm{};
  localtime_r(&now, &tm);
  return DateTime{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour,
                  tm.tm_min,         tm.tm_sec,     tm.tm_wday};
}

}  // namespace qv::lnx
