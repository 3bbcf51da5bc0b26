#pragma once

namespace qv {

class Program;

// The shutdown checks of the CPU and disk temperatures (the main window's
// Timer24 and Timer25): a warning at or above the shutdown limit, and with
// its option ticked the countdown that shuts the machine down.
void installOverTemperature(Program& program);

}  // namespace qv
