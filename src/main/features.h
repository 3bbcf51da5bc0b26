#pragma once

namespace qv {

class Program;

// Attaches every feature's handlers to the windows; call once, before start.
void installFeatures(Program& program);
// Creates the main window (its start-up runs) and shows it.
void startProgram(Program& program);

}  // namespace qv
