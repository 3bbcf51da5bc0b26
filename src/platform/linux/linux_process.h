#pragma once
#include "platform/process.h"

namespace qv::lnx {

// Starts the program's fixed command lines. Each known line maps to its
// desktop equivalent, started with exec and never through a shell; a line
// that is not known is not run. With QUORVANE_DRY_RUN=1 nothing is started
// and each request is written to standard error instead.
class LinuxProcess : public Process {
 public:
  LinuxProcess();
  bool run(const std::string& commandLine, int windowStyle) override;
  std::string executablePath() override;

 private:
  bool dryRun_;
};

// True when QUORVANE_DRY_RUN asks that no action be carried out.
bool dryRun();

}  // namespace qv::lnx
