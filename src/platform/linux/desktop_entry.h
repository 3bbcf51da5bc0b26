#pragma once
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qv::lnx {

// The keys of a desktop entry's [Desktop Entry] group that starting it needs.
// String values have their escapes (\s \n \t \r \\) undone.
struct DesktopEntry {
  std::string type;
  std::string exec;
  std::string tryExec;
  std::string icon;
  std::map<std::string, std::string> names;  // Name by locale; "" for the plain Name
  bool hidden = false;
  bool terminal = false;
  std::vector<std::string> onlyShowIn;
  std::vector<std::string> notShowIn;
};

// nullopt when the text has no [Desktop Entry] group.
std::optional<DesktopEntry> parseDesktopEntry(std::string_view text);
// nullopt when the file cannot be read or is no desktop entry.
std::optional<DesktopEntry> readDesktopEntry(const std::string& path);

// The Name for a locale such as "zh_CN.UTF-8": lang_COUNTRY, then lang, then
// the plain Name.
std::string localizedName(const DesktopEntry& entry, std::string_view locale);

// What the field codes that do not name files stand for.
struct ExecFields {
  std::string name;  // %c
  std::string icon;  // %i, as "--icon" and the icon
  std::string file;  // %k, the entry's own path
};

// The argument vector of an Exec value (string escapes already undone):
// split at spaces, double-quoted arguments unquoted, "%%" made "%", file and
// URL codes (%f %F %u %U and the deprecated ones) dropped, %c %i %k filled in.
// nullopt for an unterminated quote or an empty command.
std::optional<std::vector<std::string>> splitExec(std::string_view exec,
                                                  const ExecFields& fields = {});

}  // namespace qv::lnx
