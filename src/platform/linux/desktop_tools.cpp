#include "platform/linux/desktop_tools.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "platform/linux/config_home.h"
#include "platform/linux/desktop_entry.h"
#include "platform/linux/desktop_tool_table.h"
#include "platform/linux/detached_spawn.h"
#include "platform/process.h"

namespace qv::lnx {
namespace {

std::string env(const char* name) {
  const char* v = std::getenv(name);
  return v ? v : "";
}

std::vector<std::string> split(std::string_view text, char separator) {
  std::vector<std::string> parts;
  while (true) {
    const auto at = text.find(separator);
    if (!text.substr(0, at).empty()) parts.emplace_back(text.substr(0, at));
    if (at == std::string_view::npos) return parts;
    text.remove_prefix(at + 1);
  }
}

bool contains(const std::vector<std::string>& list, std::string_view item) {
  return std::find(list.begin(), list.end(), item) != list.end();
}

bool isExecutableFile(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

bool isFile(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// Quoted where needed, for the lines on standard error.
std::string describe(const Argv& argv) {
  std::string out;
  for (const auto& a : argv) {
    if (!out.empty()) out += ' ';
    const bool quote = a.empty() || a.find_first_of(" \t\n\"'\\$`") != std::string::npos;
    out += quote ? '"' + a + '"' : a;
  }
  return out;
}

class Resolver {
 public:
  explicit Resolver(const DesktopToolsOptions& options) : options_(options) {}

  std::optional<Argv> resolve(const tools::Tool& tool, int windowStyle) const {
    // Tools that fit the running desktop first; any installed one after.
    for (const bool strict : {true, false}) {
      for (const auto& candidate : tool.candidates) {
        if (candidate.name.empty()) continue;
        if (strict && !candidate.desktop.empty() &&
            !contains(options_.desktops, candidate.desktop)) {
          continue;
        }
        std::optional<Argv> argv = candidate.name.ends_with(".desktop")
                                       ? fromEntry(std::string(candidate.name), strict)
                                       : fromCommand(candidate.name);
        if (!argv) continue;
        if (candidate.xt && windowStyle == windowstyle::minimized) {
          argv->insert(argv->begin() + 1, "-iconic");
        }
        return argv;
      }
    }
    return std::nullopt;
  }

 private:
  // The program's absolute path: as given when it has a slash, else the first
  // executable of that name on the search path.
  std::optional<std::string> findProgram(const std::string& name) const {
    if (name.find('/') != std::string::npos) {
      if (name.front() == '/' && isExecutableFile(name)) return name;
      return std::nullopt;
    }
    for (const auto& dir : split(options_.searchPath, ':')) {
      if (dir.front() != '/') continue;  // never the current folder
      const std::string path = dir + "/" + name;
      if (isExecutableFile(path)) return path;
    }
    return std::nullopt;
  }

  std::optional<Argv> fromCommand(std::string_view command) const {
    Argv argv = split(command, ' ');
    const auto program = findProgram(argv.front());
    if (!program) return std::nullopt;
    argv.front() = *program;
    return argv;
  }

  // The file that holds a desktop-file id: the first data dir that has it
  // wins. An id's dashes may stand for subfolders ("kde4-kcalc.desktop" is
  // also kde4/kcalc.desktop).
  std::optional<std::string> findEntry(const std::string& id) const {
    std::vector<std::size_t> dashes;
    for (std::size_t i = 0; i < id.size(); ++i) {
      if (id[i] == '-') dashes.push_back(i);
    }
    const std::size_t variants = dashes.size() <= 6 ? std::size_t{1} << dashes.size() : 1;
    for (const auto& dir : options_.dataDirs) {
      for (std::size_t mask = 0; mask < variants; ++mask) {
        std::string relative = id;
        for (std::size_t bit = 0; bit < dashes.size(); ++bit) {
          if (mask & (std::size_t{1} << bit)) relative[dashes[bit]] = '/';
        }
        const std::string path = dir + "/applications/" + relative;
        if (isFile(path)) return path;
      }
    }
    return std::nullopt;
  }

  bool fitsDesktop(const DesktopEntry& entry) const {
    const auto shown = [this](const std::string& d) { return contains(options_.desktops, d); };
    if (!entry.onlyShowIn.empty() &&
        std::none_of(entry.onlyShowIn.begin(), entry.onlyShowIn.end(), shown)) {
      return false;
    }
    return std::none_of(entry.notShowIn.begin(), entry.notShowIn.end(), shown);
  }

  // The entry that owns the id decides: one hidden or not installed in a
  // higher data dir hides those below it. Terminal programs are left out:
  // there is no terminal to start them in.
  std::optional<Argv> fromEntry(const std::string& id, bool strict) const {
    const auto path = findEntry(id);
    if (!path) return std::nullopt;
    const auto entry = readDesktopEntry(*path);
    if (!entry || entry->hidden || entry->terminal || entry->type != "Application") {
      return std::nullopt;
    }
    if (strict && !fitsDesktop(*entry)) return std::nullopt;
    if (!entry->tryExec.empty() && !findProgram(entry->tryExec)) return std::nullopt;
    auto argv =
        splitExec(entry->exec, {localizedName(*entry, options_.locale), entry->icon, *path});
    if (!argv) return std::nullopt;
    const auto program = findProgram(argv->front());
    if (!program) return std::nullopt;
    argv->front() = *program;
    return argv;
  }

  const DesktopToolsOptions& options_;
};

const tools::Tool* findTool(const std::string& commandLine) {
  for (const auto& tool : tools::kTools) {
    if (tool.commandLine == commandLine) return &tool;
  }
  return nullptr;
}

}  // namespace

std::vector<std::string> xdgDataDirs() {
  std::vector<std::string> dirs;
  std::string home = env("XDG_DATA_HOME");
  if (home.empty() || home.front() != '/') {
    home = homeDirectory();
    if (!home.empty()) home += "/.local/share";
  }
  if (!home.empty() && home.front() == '/') dirs.push_back(home);
  std::string system = env("XDG_DATA_DIRS");
  if (system.empty()) system = "/usr/local/share:/usr/share";
  for (auto& dir : split(system, ':')) {
    if (dir.front() == '/') dirs.push_back(std::move(dir));
  }
  return dirs;
}

std::vector<std::string> currentDesktops() {
  return split(env("XDG_CURRENT_DESKTOP"), ':');
}

std::string programSearchPath() {
  const char* path = std::getenv("PATH");
  return path ? path : "/usr/local/bin:/usr/bin:/bin";
}

std::string messageLocale() {
  for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    if (!env(name).empty()) return env(name);
  }
  return {};
}

DesktopTools::DesktopTools(DesktopToolsOptions options) : options_(std::move(options)) {
  if (!options_.spawn) options_.spawn = [](const Argv& argv) { return spawnDetached(argv) > 0; };
}

std::optional<Argv> DesktopTools::resolve(const std::string& commandLine, int windowStyle) const {
  const tools::Tool* tool = findTool(commandLine);
  if (!tool) return std::nullopt;
  return Resolver(options_).resolve(*tool, windowStyle);
}

bool DesktopTools::launch(const std::string& commandLine, int windowStyle) {
  if (!findTool(commandLine)) {
    std::fprintf(stderr, "quorvane: no desktop tool stands for \"%s\"\n", commandLine.c_str());
    return false;
  }
  const auto argv = resolve(commandLine, windowStyle);
  if (!argv) {
    const tools::Tool& tool = *findTool(commandLine);
    for (const auto desktop : tool.lackedBy) {
      if (desktop.empty() || !contains(options_.desktops, desktop)) continue;
      std::fprintf(stderr,
                   "quorvane: %.*s has no %.*s of its own, and no other desktop's is installed, "
                   "for \"%s\"\n",
                   static_cast<int>(desktop.size()), desktop.data(),
                   static_cast<int>(tool.what.size()), tool.what.data(), commandLine.c_str());
      return false;
    }
    std::fprintf(stderr, "quorvane: no tool for \"%s\" is installed\n", commandLine.c_str());
    return false;
  }
  if (options_.dryRun) {
    std::fprintf(stderr, "quorvane: dry run: would start %s for \"%s\" (window style %d)\n",
                 describe(*argv).c_str(), commandLine.c_str(), windowStyle);
    return true;
  }
  if (!options_.spawn(*argv)) {
    std::fprintf(stderr, "quorvane: could not start %s\n", describe(*argv).c_str());
    return false;
  }
  return true;
}

std::vector<std::string> DesktopTools::commandLines() {
  std::vector<std::string> lines;
  for (const auto& tool : tools::kTools) lines.emplace_back(tool.commandLine);
  return lines;
}

}  // namespace qv::lnx
