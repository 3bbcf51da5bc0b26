#include "platform/linux/config_home.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <vector>

namespace qv::lnx {

std::string homeDirectory() {
  if (const char* home = std::getenv("HOME"); home && *home) return home;
  long size = sysconf(_SC_GETPW_R_SIZE_MAX);
  std::vector<char> buffer(size > 0 ? static_cast<std::size_t>(size) : 16384);
  passwd entry{};
  passwd* found = nullptr;
  if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found &&
      found->pw_dir && *found->pw_dir)
    return found->pw_dir;
  return {};
}

namespace {

bool isDirectory(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace

std::string configHome() {
  // A relative XDG_CONFIG_HOME is invalid and must be ignored.
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && xdg[0] == '/') return xdg;
  std::string home = homeDirectory();
  if (home.empty()) return {};
  if (home.back() != '/') home += '/';
  return home + ".config";
}

bool makeDirectories(const std::string& dir) {
  if (dir.empty()) return false;
  if (isDirectory(dir)) return true;
  std::size_t slash = dir.find_last_of('/');
  if (slash != std::string::npos && slash > 0 && !makeDirectories(dir.substr(0, slash)))
    return false;
  if (::mkdir(dir.c_str(), 0700) == 0 || errno == EEXIST) return isDirectory(dir);
  return false;
}

}  // namespace qv::lnx
