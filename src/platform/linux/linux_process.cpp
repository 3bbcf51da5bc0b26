#include "platform/linux/linux_process.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/linux/self.h"

namespace qv::lnx {

bool dryRun() {
  const char* v = std::getenv("QUORVANE_DRY_RUN");
  return v && *v && std::strcmp(v, "0") != 0;
}

LinuxProcess::LinuxProcess() : dryRun_(dryRun()) {}

bool LinuxProcess::run(const std::string& commandLine, int windowStyle) {
  if (dryRun_) {
    std::fprintf(stderr, "quorvane: dry run: would run \"%s\" (window style %d)\n",
                 commandLine.c_str(), windowStyle);
    return true;
  }
  // No command line has a desktop equivalent yet: nothing is started.
  return false;
}

std::string LinuxProcess::executablePath() {
  return lnx::executablePath();
}

}  // namespace qv::lnx
