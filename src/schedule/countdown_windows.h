#pragma once

namespace qv {

class Program;
class CountdownWindow;

// The power countdown windows (Form2, Form4, Form9, Form10, Form11, Form14,
// Form15): their load step, their tick and its action, their cancel.
void installCountdownWindows(Program& program);

// What every opener does: show the window (created, its count loaded, if it
// is not open), for the timed actions' members hide the main window, then
// start the ticker. An open window keeps its count.
void openCountdown(Program& program, CountdownWindow& window, bool hideMain);

}  // namespace qv
