#pragma once
// The command line: the tray program takes no arguments, and a few options
// answer and end it at once, before any window or display is needed.

#include <optional>

namespace qv {

// --help, --version and --sensors print their answer and give the exit
// status; anything else on the command line is an error (status 2, with a
// hint on standard error). nullopt when there is nothing: run the program.
std::optional<int> commandLine(int argc, char** argv);

}  // namespace qv
