#pragma once

namespace qv {

class Program;

// The small always-on-top monitor window and what opens it.
void installSmallMonitor(Program& program);

}  // namespace qv
