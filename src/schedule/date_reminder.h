#pragma once

namespace qv {

class Program;

// The date reminder in the main window's "(日程提醒)" group: set, stop, the
// minute check, and the 28-character reminder text. Its popup is Form12.
void installDateReminder(Program& program);

}  // namespace qv
