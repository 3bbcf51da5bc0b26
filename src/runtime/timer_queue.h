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
  // When a timer of this interval started now falls due first. While due
  // timers fire, it counts from the time they fell due at, unless that would
  // make it due already.
  std::int64_t firstDue(std::int64_t interval) const;

  std::optional<std::int64_t> nextDue() const;
  // When a real event loop should wake up next: at the due time of one of the
  // armed timers, the latest that still makes no timer more than a tenth of
  // its interval (at most a second) late. The timers due by then fire in that
  // one wake-up instead of one wake-up each; a timer fired late still keeps
  // its phase. Desktops coalesce timers the same way; in virtual time nothing
  // is late.
  std::optional<std::int64_t> nextWake() const;
  // Fires, one at a time, every timer due at the clock's current time. A
  // timer started by their handlers counts from the time the wake-up was
  // for, so that it falls due together with the timers that fired with it.
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
  std::optional<std::int64_t> firingAt_;  // the time of the wake-up being handled
};

}  // namespace qv
