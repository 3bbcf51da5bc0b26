#pragma once

namespace qv {

class Program;

// The twenty-four daily reminder slots: their window (load, typing rules,
// apply, default, cancel), the matcher on the main window's Timer37, the
// delivery on Timer39 and the main window's link that opens the window.
void installReminderSlots(Program& program);

}  // namespace qv
