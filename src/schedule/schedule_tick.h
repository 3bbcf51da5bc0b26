#pragma once

namespace qv {

class Program;

// The settings window's periodic tick (every 6.6 s while it exists).
void installScheduleTick(Program& program);

}  // namespace qv
