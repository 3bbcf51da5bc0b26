#pragma once
// Keeps the due time of every running timer and fires them in order of due
// time, ties in order of creation. A late timer fires once, not once per
// missed period, and keeps its phase when it is on time.

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace qv {

class Clock;
class Timer;

class TimerQueue {
 public:
  explicit TimerQueue(Clock& clock) : clock_(clock) {}

  Clock& clock() const { return clock_; }
  std::int64_t now() const;

  std::optional<std::int64_t> nextDue() const;
  // When a real event loop should wake up next: as late as every armed
  // timer allows, each one a twentieth of its interval past its due time at
  // most. The timers due by then fire in that one wake-up instead of one
  // wake-up each; a timer fired that late still keeps its phase. Desktops
  // coalesce timers the same way; in virtual time nothing is late.
  std::optional<std::int64_t> nextWake() const;
  // Fires, one at a time, every timer due at the clock's current time.
  void runDue(const std::function<void(Timer&)>& fire);
  void clear();

  std::size_t armedCount() const { return armed_.size(); }

 private:
  friend class Timer;
  void arm(Timer& timer, std::int64_t due);
  void disarm(Timer& timer);
  Timer* earliest() const;

  Clock& clock_;
  std::vector<Timer*> armed_;
};

}  // namespace qv
