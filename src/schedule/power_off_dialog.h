#pragma once

namespace qv {

class Program;

// The power-off dialog, what opens it, and the main window's standby that
// hides the window after the resume.
void installPowerOffDialog(Program& program);

}  // namespace qv
