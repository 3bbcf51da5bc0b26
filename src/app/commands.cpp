#include "app/commands.h"

#include "platform/process.h"
#include "runtime/failure.h"
#include "runtime/program.h"

namespace qv {

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
  if (!program.platform().process.run(std::string(line.text), line.windowStyle))
    fail("the command could not be started");
}

void standby(Program& program) {
  if (!program.platform().power.suspend()) fail("standby was refused");
}

void fastRestart(Program& program) {
  if (!program.platform().power.restartNow()) fail("the restart was refused");
}

void endProcess(Program& program) {
  program.end();
}

}  // namespace qv
