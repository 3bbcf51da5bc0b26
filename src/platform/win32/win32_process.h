#pragma once
#include "platform/process.h"

namespace qv::win {

// Starts the program's command lines as they are written, each as a process
// of its own (CreateProcessW, no command interpreter) in the window state
// asked for, without waiting. With QUORVANE_DRY_RUN=1 nothing is started and
// each line goes to the dry-run log instead (dry_run.h).
class Win32Process : public Process {
 public:
  Started run(const std::string& commandLine, int windowStyle) override;
  // With forward slashes, as every path the program handles is written.
  std::string executablePath() override;
};

}  // namespace qv::win
