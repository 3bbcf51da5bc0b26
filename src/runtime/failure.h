#pragma once
// Continue-on-error: every handler is a list of statements; a statement that
// fails (a rejected property value, a text that is not a number, a failing
// service) is skipped and the handler goes on with the next one.

#include <exception>
#include <utility>

namespace qv {

// The one exception type that marks a failed statement.
class Failed : public std::exception {
 public:
  explicit Failed(const char* why) noexcept : why_(why) {}
  const char* what() const noexcept override { return why_; }

 private:
  const char* why_;
};

[[noreturn]] inline void fail(const char* why) {
  throw Failed(why);
}

// Runs one statement; a failure skips it.
template <class Statement>
void attempt(Statement&& statement) {
  try {
    std::forward<Statement>(statement)();
  } catch (const Failed&) {
  }
}

// Evaluates a condition; one that cannot be evaluated counts as met, so the
// statements it guards run.
template <class Condition>
bool holds(Condition&& condition) {
  try {
    return static_cast<bool>(std::forward<Condition>(condition)());
  } catch (const Failed&) {
    return true;
  }
}

// Thrown when the program ends itself in the middle of a handler; the
// dispatcher catches it and nothing after it runs.
class Ended : public std::exception {
 public:
  const char* what() const noexcept override { return "program ended"; }
};

}  // namespace qv
