#pragma once

namespace qv {

class Program;

// The executor timers of the two timed actions (the main window's Timer28,
// Timer29, Timer30, Timer32 and Timer33), which act a minute after the set
// minute, and the standby-and-stop button Command23.
void installExecutors(Program& program);

}  // namespace qv
