#pragma once

namespace qv {

class Program;

// The periodic warning checks of the CPU temperature, memory load and disk
// temperature, the CPU-load countdown, and the delayed re-hide.
void installWarnings(Program& program);

}  // namespace qv
