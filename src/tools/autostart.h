#pragma once

namespace qv {

class Program;

// Registering and unregistering the program to start at log-on, carried by
// two hidden buttons of the main window that the settings window presses.
void installAutostart(Program& program);

}  // namespace qv
