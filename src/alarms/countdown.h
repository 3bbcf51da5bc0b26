#pragma once
// The step that every member of the countdown family takes once a second.

#include <functional>

namespace qv {

class CounterWindow;

// The count drops by one; when it is then exactly 1 the window acts; a count
// below 0 rests at "0". So a count of N acts N - 1 seconds after the ticker
// started, while the window shows 1, and never counts down to 0. A count
// that is not a number fails both tests, and a test that fails counts as met:
// the window acts at once and the count rests at "0".
void tickCountdown(CounterWindow& window, const std::function<void()>& act);

}  // namespace qv
