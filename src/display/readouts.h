#pragma once

namespace qv {

class Program;

// The main window's four readouts with their level bars, the memory lines
// and the scanning animation.
void installReadouts(Program& program);

}  // namespace qv
