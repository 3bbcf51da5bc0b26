#pragma once
// What the running program does when asked from outside: by a later start
// of the program, which ends at once, or by the installer, which must
// replace the program's file.

namespace qv {

class Program;
class SingleInstance;

// A later start brings the main window up as a left click on the
// application's tray icon does; the installer's request ends the program as
// the tray menu's "退出" does, tray icons first.
void answerOtherStarts(Program& program, SingleInstance& instance);

}  // namespace qv
