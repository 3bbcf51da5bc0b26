#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "platform/process.h"

namespace qv::win {

// Starts the program's command lines as they are written, each as a process
// of its own (CreateProcessW, no command interpreter) in the window state
// asked for, without waiting; a power line only starts the system's shutdown
// program, so its outcome is never known here. With QUORVANE_DRY_RUN=1
// nothing is started and each line goes to the dry-run log instead
// (dry_run.h).
class Win32Process : public Process {
 public:
  Started run(const std::string& commandLine, int windowStyle) override;
  // With forward slashes, as every path the program handles is written.
  std::string executablePath() override;
};

// The program file a command line starts. Left to itself, CreateProcessW
// looks for a bare name ("calc", "shutdown") in this program's folder and the
// current one before the system's, where anyone may have put a program of
// that name: the lines name the system's own tools, so a bare name is taken
// from `systemFolder` only, with ".exe" added when it has no extension. A
// program named by its path keeps it. Nullopt when the line names none.
std::optional<std::wstring> programOf(std::wstring_view line, std::wstring_view systemFolder);

}  // namespace qv::win
