#include "app/commands.h"

#include <string>

#include "app/tray_icon.h"
#include "forms/form1.h"
#include "platform/process.h"
#include "runtime/failure.h"
#include "runtime/program.h"

namespace qv {
namespace {

// The warning balloon for a power action the system refused.
Answer refused(Program& program, const char* action) {
  attempt([&] {
    ShowTrayBalloon(program, program.form<Form1>(), std::string("系统拒绝了") + action + "请求",
                    "操作失败", 2);
  });
  return Answer::refused;
}

const char* actionOf(Command command) {
  return command == Command::Restart || command == Command::RestartForced ? "重启" : "关机";
}

}  // namespace

CommandLine commandLine(Command command) {
  using namespace windowstyle;
  switch (command) {
    case Command::ShutdownNow:
      return {"shutdown -s -t 0 -f", minimized};
    case Command::Shutdown:
      return {"shutdown -s -f -t 0", hidden};
    case Command::Restart:
      return {"c:\\windows\\system32\\shutdown.exe /r /t 0", minimized};
    case Command::RestartForced:
      return {"shutdown -r -f -t 0", hidden};
    case Command::PowerOptions:
      return {"Rundll32.exe Shell32.dll,Control_RunDLL powercfg.cpl", minimized};
    case Command::InternetOptions:
      return {"Rundll32.exe Shell32.dll,Control_RunDLL inetcpl.cpl", minimized};
    case Command::DateAndTime:
      return {"Rundll32.exe Shell32.dll,Control_RunDLL Timedate.cpl", minimized};
    case Command::TaskManager:
      return {"taskmgr.exe", normal};
    case Command::SystemProperties:
      return {"Rundll32.exe Shell32.dll,Control_RunDLL sysdm.cpl", minimized};
    case Command::AddRemovePrograms:
      return {"Rundll32.exe Shell32.dll,Control_RunDLL appwiz.cpl", minimized};
    case Command::Calculator:
      return {"calc", minimized};
  }
  fail("unknown command");
}

void run(Program& program, Command command) {
  CommandLine line = commandLine(command);
  if (program.platform().process.run(std::string(line.text), line.windowStyle) != Started::yes)
    fail("the command could not be started");
}

Answer runPower(Program& program, Command command) {
  CommandLine line = commandLine(command);
  if (program.platform().process.run(std::string(line.text), line.windowStyle) == Started::refused)
    return refused(program, actionOf(command));
  return Answer::taken;
}

Answer standby(Program& program) {
  if (!program.platform().power.suspend()) return refused(program, "待机");
  return Answer::taken;
}

Answer fastRestart(Program& program) {
  if (!program.platform().power.restartNow()) return refused(program, "重启");
  return Answer::taken;
}

void endProcess(Program& program) {
  program.end();
}

}  // namespace qv
