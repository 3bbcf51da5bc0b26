#pragma once
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/linux/linux_process.h"

namespace qv::lnx {

// The places desktop entries are looked up, in order of precedence:
// $XDG_DATA_HOME (default ~/.local/share), then $XDG_DATA_DIRS (default
// /usr/local/share:/usr/share). Relative entries are left out.
std::vector<std::string> xdgDataDirs();
// $XDG_CURRENT_DESKTOP split at its colons ("ubuntu:GNOME").
std::vector<std::string> currentDesktops();
// $PATH, or the usual folders when it is unset.
std::string programSearchPath();
// The locale of messages: $LC_ALL, else $LC_MESSAGES, else $LANG.
std::string messageLocale();

using Argv = std::vector<std::string>;

// What DesktopTools looks at; each default comes from the environment.
struct DesktopToolsOptions {
  std::vector<std::string> dataDirs = xdgDataDirs();
  std::string searchPath = programSearchPath();
  std::vector<std::string> desktops = currentDesktops();
  std::string locale = messageLocale();  // for the %c of an Exec line
  // Starts a resolved argument vector (argv[0] an absolute path); false when
  // it could not. Default: spawnDetached.
  std::function<bool(const Argv&)> spawn;
  bool dryRun = lnx::dryRun();
};

// Starts the desktop's own tool for each of the program's tool command lines
// (power, network, date and time settings, the system monitor, the system
// overview, the software centre, the calculator): the first installed of a
// short list that covers GNOME, KDE Plasma, Xfce, MATE, LXQt and Cinnamon.
// A tool whose desktop entry says it belongs to other desktops is taken only
// when no tool fits the running one.
class DesktopTools {
 public:
  explicit DesktopTools(DesktopToolsOptions options = {});

  // Starts the tool for `commandLine` without waiting for it. False, with a
  // line on standard error, for an unknown line, when no tool is installed or
  // when it could not be started. In a dry run it only says what it would
  // start.
  bool launch(const std::string& commandLine, int windowStyle);

  // The argument vector `launch` would start; nullopt when the line is
  // unknown or none of its tools is installed.
  std::optional<Argv> resolve(const std::string& commandLine, int windowStyle) const;

  // Every command line that has tools.
  static std::vector<std::string> commandLines();

 private:
  DesktopToolsOptions options_;
};

}  // namespace qv::lnx
