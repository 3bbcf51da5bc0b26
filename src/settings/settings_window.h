#pragma once

namespace qv {

class Program;
class Form5;

// The settings window's creation (defaults, then the store), its apply,
// cancel and default buttons, and the hidden buttons other features press.
void installSettingsWindow(Program& program);

// While "取消报警声音" is ticked both alarm tones are set to 0 (silent); the
// store keeps the real values.
void muteAlarm(Form5& form);

}  // namespace qv
