#pragma once

namespace qv {

class Program;

// The reminder popups of timed action 1 (Form8), timed action 2 (Form16) and
// the date reminder (Form12), and the reminder timers that open them every
// 62 s (the main window's Timer7, Timer34 and Timer27).
void installReminderPopups(Program& program);

}  // namespace qv
