#include "alarms/countdown.h"

#include "forms/countdowns.h"
#include "runtime/convert.h"
#include "runtime/failure.h"

namespace qv {

void tickCountdown(CounterWindow& w, const std::function<void()>& act) {
  Label& counter = w.Label2;
  attempt([&] { counter.setText(text(value(counter.text()) - 1)); });
  if (holds([&] { return value(counter.text()) == 1; })) act();
  // The window may have gone (closed by its action).
  if (!w.loaded()) return;
  if (holds([&] { return value(counter.text()) < 0; })) attempt([&] { counter.setText("0"); });
}

}  // namespace qv
