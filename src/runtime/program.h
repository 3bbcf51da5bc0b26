#pragma once
// The program object: owns every window and the timer queue, creates a
// window on first access, and runs every handler through one dispatcher so
// that a window closed by a handler is destroyed only after it returns.

#include <array>
#include <functional>
#include <memory>
#include <string_view>
#include <typeindex>
#include <unordered_map>
#include <vector>

#include "platform/platform.h"
#include "runtime/failure.h"
#include "runtime/form.h"
#include "runtime/timer.h"
#include "runtime/timer_queue.h"

namespace qv {

// The view side of the windows (the Qt realisation, or nothing in tests).
class FormHost {
 public:
  virtual ~FormHost() = default;
  // A window was created and its load step has run.
  virtual void created(Form& form) = 0;
  // A window is being closed; it must not be touched afterwards.
  virtual void closing(Form& form) = 0;
  // The outermost handler returned; timers may have changed.
  virtual void settled() {}
  // The program ended itself.
  virtual void ended() {}
};

class Program {
 public:
  // Windows are numbered as their names say: Form1 .. Form20.
  static constexpr int kWindows = 21;

  explicit Program(Platform& platform);
  ~Program();
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  Platform& platform() const { return platform_; }

  // The screen's size in twips, as the view reports it; a 1920 x 1080
  // screen until then (and in tests).
  struct Screen {
    int width = 1920 * 15;
    int height = 1080 * 15;
  };
  const Screen& screen() const { return screen_; }
  void setScreen(Screen screen) { screen_ = screen; }
  TimerQueue& timers() { return timers_; }
  void setHost(FormHost* host) { host_ = host; }

  // The window, created (hidden, its load step run) if it does not exist.
  template <class F>
  F& form() {
    Form* f = windows_[F::kNumber].get();
    if (!f) f = &create(F::kNumber, [this] { return std::make_unique<F>(*this); });
    return static_cast<F&>(*f);
  }
  // The window if it exists, without creating it.
  template <class F>
  F* existing() const {
    return static_cast<F*>(windows_[F::kNumber].get());
  }
  // Features attach their handlers to a window each time it is created,
  // before its load step runs, in the order they were registered.
  template <class F>
  void onCreate(std::function<void(F&)> attach) {
    attachers_[F::kNumber].push_back(
        [attach = std::move(attach)](Form& f) { attach(static_cast<F&>(f)); });
  }

  // State a feature keeps beside its window's controls (a sensor object, a
  // tray record), created on first use and kept for the life of the program.
  template <class T>
  T& state() {
    auto& slot = states_[std::type_index(typeid(T))];
    if (!slot) slot = std::make_shared<T>();
    return *static_cast<T*>(slot.get());
  }

  Form* find(std::string_view name) const;
  std::vector<Form*> windows() const;

  // Closes (unloads) a window: it is detached at once, its timers stop, and
  // the object is destroyed after the running handler returns.
  void close(Form& form);
  // The close box or a feature asks the window to close; its handler may
  // refuse.
  void requestClose(Form& form);

  // Runs one event handler. A failure that escapes the handler's own
  // statements ends the handler (and is counted); the program ending itself
  // ends it too.
  void dispatch(const std::function<void()>& handler);
  // Fires every timer that is due now. Never from inside a handler: a
  // handler runs to completion before any timer fires, even one that waits
  // (the standby call blocks until the machine resumes), so a pump that
  // comes meanwhile does nothing and the overdue timers fire once after it.
  void pump();
  // A handler is running.
  bool busy() const { return depth_ > 0; }

  // Ends the program at once: nothing after this call runs.
  [[noreturn]] void end();
  bool ended() const { return ended_; }

  // Failures that were not caught by a statement of their handler.
  int escapedFailures() const { return escapedFailures_; }

 private:
  Form& create(int number, const std::function<std::unique_ptr<Form>()>& make);
  void settle();

  Platform& platform_;
  TimerQueue timers_;
  FormHost* host_ = nullptr;
  Screen screen_;
  std::array<std::unique_ptr<Form>, kWindows> windows_;
  std::array<std::vector<std::function<void(Form&)>>, kWindows> attachers_;
  std::vector<std::unique_ptr<Form>> closed_;
  std::unordered_map<std::type_index, std::shared_ptr<void>> states_;
  int depth_ = 0;
  bool ended_ = false;
  int escapedFailures_ = 0;
};

}  // namespace qv
