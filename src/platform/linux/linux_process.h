#pragma once
#include <functional>
#include <string>

#include "platform/power.h"
#include "platform/process.h"

namespace qv::lnx {

// Carries out the program's fixed command lines. The shutdown and restart
// lines go to the power service, whose "no" comes back as Started::refused;
// any other line goes to `otherLines` when there is one, and is otherwise not
// run. Nothing is ever started through a
// shell. With QUORVANE_DRY_RUN=1 nothing is carried out and each request is
// written to standard error instead.
class LinuxProcess : public Process {
 public:
  using OtherLines = std::function<bool(const std::string& line, int windowStyle)>;

  explicit LinuxProcess(Power& power, OtherLines otherLines = {});
  Started run(const std::string& commandLine, int windowStyle) override;
  std::string executablePath() override;

 private:
  Power& power_;
  OtherLines otherLines_;
  bool dryRun_;
};

// True when QUORVANE_DRY_RUN asks that no action be carried out.
bool dryRun();

}  // namespace qv::lnx
