#pragma once
// The only place that starts a program or acts on the machine's power. Every
// command line the program issues is a named constant here, with the window
// state it is started in; the platform's power and process services are
// called from nowhere else, so what can turn the machine off is read in one
// file.

#include <string_view>

namespace qv {

class Program;

enum class Command {
  // Power.
  ShutdownNow,    // "shutdown -s -t 0 -f", minimized: the timed actions without a prompt
  Shutdown,       // "shutdown -s -f -t 0", hidden: countdowns and the power-off dialog
  Restart,        // the system's shutdown.exe /r, minimized: timed action 1 and Form10
  RestartForced,  // "shutdown -r -f -t 0", hidden: the power-off dialog
  // Tools of the shortcut panel.
  PowerOptions,
  InternetOptions,
  DateAndTime,
  TaskManager,
  SystemProperties,
  AddRemovePrograms,
  Calculator,
};

struct CommandLine {
  std::string_view text;  // issued exactly as written
  int windowStyle;        // platform/process.h
};

CommandLine commandLine(Command command);

// Starts a tool's command without waiting for it; a failed statement when it
// cannot be started. Its result is never looked at.
void run(Program& program, Command command);

// What the system made of a power action.
enum class Answer {
  taken,    // taken, or not known (a line that only starts a program, or none)
  refused,  // refused: the machine stays up, and the user has been told
};
// Starts a shutdown or restart command. Where the system refuses it, a
// warning balloon ("系统拒绝了关机请求", "系统拒绝了重启请求") tells the user,
// and the caller must carry on as if the user had cancelled: the machine
// stays up, and a program that ended now would leave it unwatched.
[[nodiscard]] Answer runPower(Program& program, Command command);
// Puts the machine in standby and returns after it has resumed; no timer of
// the program fires meanwhile. A refusal is told by a balloon
// ("系统拒绝了待机请求").
Answer standby(Program& program);
// Restarts at once, as far as the system lets an unprivileged user; a
// refusal is told as runPower's.
Answer fastRestart(Program& program);
// Ends the program at once: no close handling, nothing saved.
[[noreturn]] void endProcess(Program& program);

}  // namespace qv
