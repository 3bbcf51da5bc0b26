#pragma once
// Simulated time: monotonic and wall time advance together, and only when
// asked, so a day of every timer runs in a fraction of a second and every
// timing can be asserted to the millisecond.

#include <cstdint>

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

 private:
  std::int64_t now_ = 0;
  std::int64_t wallAtZero_;  // wall-clock ms since 1970 when now_ was 0
};

// Advances the clock by `ms`, firing every timer at its exact due time.
void advance(Program& program, VirtualClock& clock, std::int64_t ms);

}  // namespace qv
