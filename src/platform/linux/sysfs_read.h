#pragma once
// Small helpers for reading sysfs attribute files. Every failure is an empty
// result: a sensor can vanish between listing a directory and reading a file.

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qv::lnx::sysfs {

// The file's text without its trailing newline; nullopt when it cannot be read.
std::optional<std::string> readText(const std::filesystem::path& file);

// A file holding one decimal integer ("45500\n"); nullopt for anything else.
std::optional<std::int64_t> readInteger(const std::filesystem::path& file);

// The entry names of a directory in natural order (hwmon2 before hwmon10),
// without hidden entries; nullopt when the directory cannot be opened.
std::optional<std::vector<std::string>> entries(const std::filesystem::path& dir);

// Directory listings kept for a while. Listing a sysfs directory costs more
// than reading the few files found in it, and what is listed changes only
// when hardware or drivers come and go.
class Listings {
 public:
  explicit Listings(std::chrono::milliseconds keep) : keep_(keep) {}
  // Begins a round of reading: listings older than the keeping time go.
  void newRound();
  // Every listing goes: the next round lists afresh.
  void forget() { kept_.clear(); }
  // As entries(), from the kept listing when there is one.
  const std::optional<std::vector<std::string>>& entries(const std::filesystem::path& dir);

 private:
  std::chrono::milliseconds keep_;
  std::chrono::steady_clock::time_point taken_;
  std::map<std::filesystem::path, std::optional<std::vector<std::string>>> kept_;
};

// "prefix<digits>" gives the number; anything else nullopt.
std::optional<int> numberAfter(std::string_view name, std::string_view prefix);

// Digit runs compare by value, so "thermal_zone2" sorts before "thermal_zone10".
bool naturalLess(std::string_view a, std::string_view b);

}  // namespace qv::lnx::sysfs
