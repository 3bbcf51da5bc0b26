#pragma once
#include <string>

namespace qv::lnx {

// The user's home: $HOME, else the password database's entry. Empty when
// neither is known.
std::string homeDirectory();

// The user's configuration directory: $XDG_CONFIG_HOME when it is an
// absolute path, else $HOME/.config (the password database's home when HOME
// is unset). Empty when neither is known.
std::string configHome();

// Creates `dir` and its missing parents with mode 0700 (configuration may be
// private). True when it exists as a directory afterwards.
bool makeDirectories(const std::string& dir);

}  // namespace qv::lnx
