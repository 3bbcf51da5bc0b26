#pragma once
// Simulated time: monotonic and wall time advance together, and only when
// asked, so a day of every timer runs in a fraction of a second and every
// timing can be asserted to the millisecond.

#include <cstdint>
#include <functional>

#include "platform/clock.h"

namespace qv {

class Program;

class VirtualClock : public Clock {
 public:
  // Starts at the given local time with the monotonic clock at 0.
  explicit VirtualClock(const DateTime& start = DateTime{2026, 12, 9, 9, 0, 0, 3});

  std::int64_t monotonicMs() override { return now_; }
  DateTime localTime() override;

  // Moves both clocks forward without firing anything.
  void set(std::int64_t monotonicMs);
  // Sets the wall clock (the monotonic clock is not touched).
  void setLocalTime(const DateTime& t);

  // A time zone: the offset of local time from universal time, in ms, at a
  // universal time. None (local time is universal time) by default.
  using Zone = std::function<std::int64_t(std::int64_t utcMs)>;
  // Local time then follows the zone's changes; `utc` is the universal time
  // now.
  void setZone(Zone zone, const DateTime& utc);

 private:
  std::int64_t now_ = 0;
  std::int64_t wallAtZero_;  // universal ms since 1970 when now_ was 0
  Zone zone_;
};

// Central European time: +1 h, and +2 h from the last Sunday of March to the
// last Sunday of October, changing at 01:00 universal time.
std::int64_t europeBerlin(std::int64_t utcMs);

// Advances the clock by `ms`, firing every timer at its exact due time.
void advance(Program& program, VirtualClock& clock, std::int64_t ms);

}  // namespace qv
