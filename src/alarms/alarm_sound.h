#pragma once

namespace qv {

class Program;

// The alarm: two tones from the settings window, each skipped on its own
// when its fields are not numbers.
void playAlarmSound(Program& program);
// Hides the main window once more one second from now.
void startDelayedRehide(Program& program);

// Attaches the delayed re-hide's tick (the main window's Timer38).
void installDelayedRehide(Program& program);

}  // namespace qv
