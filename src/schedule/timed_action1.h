#pragma once

namespace qv {

class Program;

// Timed action 1 in the main window's "(定时)" group: start, stop, the time
// check, the fire step, the status line, and the two message boxes that an
// empty hour or minute brings up (shared with timed action 2).
void installTimedAction1(Program& program);

}  // namespace qv
