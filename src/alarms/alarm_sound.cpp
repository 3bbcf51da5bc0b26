#include "alarms/alarm_sound.h"

#include <cstdint>
#include <limits>

#include "forms/form1.h"
#include "forms/form5.h"
#include "runtime/convert.h"
#include "runtime/program.h"

namespace qv {
namespace {

// A tone argument as the platform takes it; a number beyond its range fails
// like any other unconvertible field.
int toneNumber(const Control& field) {
  std::int64_t n = whole(value(field.text()));
  if (n < std::numeric_limits<int>::min() || n > std::numeric_limits<int>::max())
    fail("tone argument out of range");
  return static_cast<int>(n);
}

}  // namespace

void playAlarmSound(Program& program) {
  // Each tone reads the settings window afresh: an apply in between closes it
  // and the next read brings it back from the store.
  attempt([&] {
    int frequency = toneNumber(program.form<Form5>().Combo11);
    int length = toneNumber(program.form<Form5>().Combo12);
    program.platform().tone.beep(frequency, length);
  });
  attempt([&] {
    int frequency = toneNumber(program.form<Form5>().Text15);
    int length = toneNumber(program.form<Form5>().Text16);
    program.platform().tone.beep(frequency, length);
  });
}

void startDelayedRehide(Program& program) {
  // Already running, it keeps its schedule: one hide per second at most.
  program.form<Form1>().Timer38.start();
}

void installDelayedRehide(Program& program) {
  program.onCreate<Form1>([](Form1& f) {
    // Fires once per start: a window the user restored since the alarm is
    // hidden again.
    f.Timer38.onTick = [&f] {
      attempt([&] { f.program().requestClose(f); });
      attempt([&] { f.Timer38.stop(); });
    };
  });
}

}  // namespace qv
