#include "runtime/timer.h"

#include "runtime/census.h"
#include "runtime/failure.h"
#include "runtime/form.h"
#include "runtime/program.h"
#include "runtime/timer_queue.h"

namespace qv {
namespace {
std::uint64_t nextOrder = 0;
}

Timer::Timer(Form& form, std::string name, std::int64_t interval, bool enabled)
    : form_(form),
      name_(std::move(name)),
      interval_(interval),
      enabled_(enabled),
      order_(nextOrder++) {
  form_.add(*this);
  ++census::timers;
  rearm();
}

Timer::~Timer() {
  if (armed_) form_.program().timers().disarm(*this);
  --census::timers;
}

void Timer::setInterval(std::int64_t ms) {
  if (ms < 0 || ms > kMaxInterval) fail("timer interval out of range");
  if (ms == interval_) return;
  interval_ = ms;
  rearm();
}

void Timer::setEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  rearm();
}

void Timer::rearm() {
  TimerQueue& queue = form_.program().timers();
  if (enabled_ && interval_ > 0 && form_.loaded())
    queue.arm(*this, queue.firstDue(interval_));
  else if (armed_)
    queue.disarm(*this);
}

}  // namespace qv
