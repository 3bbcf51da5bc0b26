#include "platform/linux/linux_process.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "platform/linux/self.h"

namespace qv::lnx {

bool dryRun() {
  const char* v = std::getenv("QUORVANE_DRY_RUN");
  return v && *v && std::strcmp(v, "0") != 0;
}

namespace {

// The lines are matched whole and byte for byte: they are the program's own,
// and anything else, however close, is not one of them. The force switch has
// no counterpart for an unprivileged session; logind tells the applications.
bool isPowerOff(const std::string& line) {
  return line == "shutdown -s -t 0 -f" || line == "shutdown -s -f -t 0";
}

bool isRestart(const std::string& line) {
  return line == "c:\\windows\\system32\\shutdown.exe /r /t 0" || line == "shutdown -r -f -t 0";
}

}  // namespace

LinuxProcess::LinuxProcess(Power& power, OtherLines otherLines)
    : power_(power), otherLines_(std::move(otherLines)), dryRun_(dryRun()) {}

Started LinuxProcess::run(const std::string& commandLine, int windowStyle) {
  if (dryRun_) {
    std::fprintf(stderr, "quorvane: dry run: would run \"%s\" (window style %d)\n",
                 commandLine.c_str(), windowStyle);
    return Started::yes;
  }
  // logind answers at once: when it did not take the request, the machine
  // stays up, and the program must know it.
  if (isPowerOff(commandLine)) return power_.powerOff() ? Started::yes : Started::refused;
  if (isRestart(commandLine)) return power_.restart() ? Started::yes : Started::refused;
  if (otherLines_) return otherLines_(commandLine, windowStyle) ? Started::yes : Started::no;
  std::fprintf(stderr, "quorvane: not run: unknown command line \"%s\"\n", commandLine.c_str());
  return Started::no;
}

std::string LinuxProcess::executablePath() {
  return lnx::executablePath();
}

}  // namespace qv::lnx
