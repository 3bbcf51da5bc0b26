#pragma once
// QUORVANE_DRY_RUN=1: the services that act on the machine (power, started
// programs, the display, the optical drive) say what they would do instead.
// A Windows program without a console has no standard error to say it on, so
// each line also goes to dry-run.log in the program's folder of the user's
// application data (%APPDATA%\Quorvane), where a person or a test finds it.

#include <string>

namespace qv::win {

bool dryRun();
// Appends "dry run: <what>" to the log (and to standard error).
void logDryRun(const std::string& what);
// %APPDATA%\Quorvane\dry-run.log, UTF-8; empty when the folder is unknown.
std::wstring dryRunLogPath();

}  // namespace qv::win
