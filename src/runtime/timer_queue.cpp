#include "runtime/timer_queue.h"

#include <algorithm>

#include "platform/clock.h"
#include "runtime/timer.h"

namespace qv {

std::int64_t TimerQueue::now() const {
  return clock_.monotonicMs();
}

void TimerQueue::arm(Timer& timer, std::int64_t due) {
  timer.due_ = due;
  if (!timer.armed_) {
    timer.armed_ = true;
    armed_.push_back(&timer);
  }
}

void TimerQueue::disarm(Timer& timer) {
  if (!timer.armed_) return;
  timer.armed_ = false;
  armed_.erase(std::find(armed_.begin(), armed_.end(), &timer));
}

Timer* TimerQueue::earliest() const {
  Timer* best = nullptr;
  for (Timer* t : armed_)
    if (!best || t->due_ < best->due_ || (t->due_ == best->due_ && t->order_ < best->order_))
      best = t;
  return best;
}

std::optional<std::int64_t> TimerQueue::nextDue() const {
  if (Timer* t = earliest()) return t->due_;
  return std::nullopt;
}

std::optional<std::int64_t> TimerQueue::nextWake() const {
  std::optional<std::int64_t> wake;
  for (Timer* t : armed_) {
    std::int64_t latest = t->due_ + t->interval_ / 20;
    if (!wake || latest < *wake) wake = latest;
  }
  return wake;
}

void TimerQueue::runDue(const std::function<void(Timer&)>& fire) {
  for (;;) {
    std::int64_t current = now();
    Timer* t = earliest();
    if (!t || t->due_ > current) return;
    // Schedule the next tick before the handler runs, so that the handler
    // can stop the timer or give it a new interval.
    std::int64_t next = t->due_ + t->interval_;
    t->due_ = next > current ? next : current + t->interval_;
    fire(*t);  // may destroy t
  }
}

void TimerQueue::clear() {
  for (Timer* t : armed_) t->armed_ = false;
  armed_.clear();
}

}  // namespace qv
