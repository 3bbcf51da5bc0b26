#include "support/virtual_clock.h"

#include "base/civil.h"
#include "runtime/program.h"

namespace qv {

VirtualClock::VirtualClock(const DateTime& start) : wallAtZero_(msFromCivil(start)) {}

DateTime VirtualClock::localTime() {
  return civilFromMs(wallAtZero_ + now_);
}

void VirtualClock::set(std::int64_t monotonicMs) {
  if (monotonicMs > now_) now_ = monotonicMs;
}

void VirtualClock::setLocalTime(const DateTime& t) {
  wallAtZero_ = msFromCivil(t) - now_;
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
