#include "runtime/timer_queue.h"

#include <algorithm>
#include <limits>

#include "platform/clock.h"
#include "runtime/timer.h"

namespace qv {

namespace {
// A wake-up that comes this much after the time it was asked for is still
// that wake-up; a later one (a machine that slept, a loop held up) is not.
constexpr std::int64_t kWakeLatencyMs = 100;

// How late a timer may fire so that it shares a wake-up with others: a tenth
// of its interval, the tolerance macOS recommends for repeating timers, but
// never more than a second.
std::int64_t slack(std::int64_t interval) {
  return std::min<std::int64_t>(interval / 10, 1000);
}
}  // namespace

std::int64_t TimerQueue::now() const {
  return clock_.monotonicMs();
}

std::int64_t TimerQueue::firstDue(std::int64_t interval) const {
  const std::int64_t current = now();
  if (firingAt_ && *firingAt_ + interval > current) return *firingAt_ + interval;
  return current + interval;
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
  std::optional<std::int64_t> deadline;
  for (Timer* t : armed_) {
    std::int64_t latest = t->due_ + slack(t->interval_);
    if (!deadline || latest < *deadline) deadline = latest;
  }
  if (!deadline) return std::nullopt;
  // Waking exactly when a timer falls due keeps that timer on time, and the
  // timers its handler starts in step with it.
  std::int64_t wake = std::numeric_limits<std::int64_t>::min();
  for (Timer* t : armed_)
    if (t->due_ <= *deadline) wake = std::max(wake, t->due_);
  return wake;
}

void TimerQueue::runDue(const std::function<void(Timer&)>& fire) {
  std::int64_t current = clock_.monotonicMs();
  std::optional<std::int64_t> wake;
  for (Timer* t : armed_)
    if (t->due_ <= current && (!wake || t->due_ > *wake)) wake = t->due_;
  if (!wake) return;
  struct Pin {
    std::optional<std::int64_t>& at;
    std::optional<std::int64_t> before;
    ~Pin() { at = before; }
  } pin{firingAt_, firingAt_};
  if (current - *wake <= kWakeLatencyMs) firingAt_ = *wake;
  for (;;) {
    current = clock_.monotonicMs();
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
