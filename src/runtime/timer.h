#pragma once
// An interval timer of a window: an interval in milliseconds and an on/off
// state. A running timer with interval 0 never fires.

#include <cstdint>
#include <functional>
#include <string>

#include "runtime/handler.h"

namespace qv {

class Form;
class TimerQueue;

class Timer {
 public:
  static constexpr std::int64_t kMaxInterval = 2'147'483'647;

  Timer(Form& form, std::string name, std::int64_t interval = 0, bool enabled = true);
  ~Timer();
  Timer(const Timer&) = delete;
  Timer& operator=(const Timer&) = delete;

  const std::string& name() const { return name_; }
  Form& form() const { return form_; }

  std::int64_t interval() const { return interval_; }
  // Fails outside 0 .. kMaxInterval, keeping the old interval. A new interval
  // restarts the countdown of a running timer.
  void setInterval(std::int64_t ms);

  bool enabled() const { return enabled_; }
  // Starting a running timer changes nothing; stopping and starting restarts.
  void setEnabled(bool enabled);
  void start() { setEnabled(true); }
  void stop() { setEnabled(false); }

  // The absolute time of the next tick, meaningful while it is armed.
  bool armed() const { return armed_; }
  std::int64_t due() const { return due_; }

  Handler<void()> onTick;

 private:
  friend class TimerQueue;
  void rearm();

  Form& form_;
  std::string name_;
  std::int64_t interval_;
  bool enabled_;
  bool armed_ = false;
  std::int64_t due_ = 0;
  std::uint64_t order_;
};

}  // namespace qv
