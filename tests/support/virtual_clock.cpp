#include "support/virtual_clock.h"

#include <utility>

#include "base/civil.h"
#include "runtime/program.h"

namespace qv {

VirtualClock::VirtualClock(const DateTime& start) : wallAtZero_(msFromCivil(start)) {}

DateTime VirtualClock::localTime() {
  const std::int64_t utc = wallAtZero_ + now_;
  return civilFromMs(utc + (zone_ ? zone_(utc) : 0));
}

void VirtualClock::set(std::int64_t monotonicMs) {
  if (monotonicMs > now_) now_ = monotonicMs;
}

void VirtualClock::setLocalTime(const DateTime& t) {
  const std::int64_t local = msFromCivil(t);
  wallAtZero_ = local - (zone_ ? zone_(local) : 0) - now_;
}

void VirtualClock::setZone(Zone zone, const DateTime& utc) {
  zone_ = std::move(zone);
  wallAtZero_ = msFromCivil(utc) - now_;
}

namespace {
// 01:00 universal time on the last Sunday of the month.
std::int64_t lastSundayAt1(int year, int month) {
  int last = month == 3 || month == 10 ? 31 : 30;
  std::int64_t days = daysFromCivil(year, month, last);
  std::int64_t weekday = (days + 4) % 7;  // 0 = Sunday; 1970-01-01 was a Thursday
  if (weekday < 0) weekday += 7;
  return (days - weekday) * 86'400'000 + 3'600'000;
}
}  // namespace

std::int64_t europeBerlin(std::int64_t utcMs) {
  const int year = civilFromMs(utcMs).year;
  const bool summer = utcMs >= lastSundayAt1(year, 3) && utcMs < lastSundayAt1(year, 10);
  return summer ? 7'200'000 : 3'600'000;
}

void advance(Program& program, VirtualClock& clock, std::int64_t ms) {
  const std::int64_t target = clock.monotonicMs() + ms;
  while (!program.ended()) {
    auto due = program.timers().nextDue();
    if (!due || *due > target) break;
    clock.set(*due);
    program.pump();
  }
  clock.set(target);
  program.pump();
}

}  // namespace qv
