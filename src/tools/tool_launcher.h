#pragma once

namespace qv {

class Program;

// The shortcut panel of the main window.
void installToolLauncher(Program& program);

}  // namespace qv
