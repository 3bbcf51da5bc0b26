#pragma once
// An event handler slot of a window, control or timer. A feature attaches
// one handler to an event; a second assignment to the same slot is a fault
// (two features that both think they own the event, the later silently
// winning), so debug builds stop at it. replace() says it on purpose.

#include <functional>
#include <stdexcept>
#include <utility>

namespace qv {

// Thrown in debug builds when a handler is assigned over another.
class HandlerTaken : public std::logic_error {
 public:
  using std::logic_error::logic_error;
};

template <class Signature>
class Handler {
 public:
  Handler() = default;
  Handler(const Handler&) = delete;
  Handler& operator=(const Handler&) = delete;

  template <class F>
  Handler& operator=(F&& handler) {
#ifndef NDEBUG
    if (slot_) throw HandlerTaken("a second handler for one event");
#endif
    slot_ = std::forward<F>(handler);
    return *this;
  }
  // Swaps the handler for another, or removes it with nullptr.
  template <class F>
  void replace(F&& handler) {
    slot_ = std::forward<F>(handler);
  }

  explicit operator bool() const {
    return static_cast<bool>(slot_);
  }
  template <class... Args>
  decltype(auto) operator()(Args&&... args) const {
    return slot_(std::forward<Args>(args)...);
  }
  const std::function<Signature>& function() const {
    return slot_;
  }

 private:
  std::function<Signature> slot_;
};

}  // namespace qv
