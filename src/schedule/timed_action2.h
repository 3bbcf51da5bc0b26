#pragma once

namespace qv {

class Program;

// Timed action 2: the main window's "(定时2)" group (start, stop, the time
// check, the fire step, the status line) and its settings window Form13.
void installTimedAction2(Program& program);

}  // namespace qv
