#pragma once

#include "runtime/control_array.h"

namespace qv {

class Program;

// The main window's four readouts with their level bars, the memory lines
// and the scanning animation.
void installReadouts(Program& program);

// Lights the segments of a ten-segment bar for a value 0 .. 100: segment k
// lights from 10k; the tenth only at 100.
void updateBar(const ControlArray<Label>& segments, Shape& outline, const char* name, double value);

}  // namespace qv
