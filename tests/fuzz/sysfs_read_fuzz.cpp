// The sysfs helpers on arbitrary attribute files and entry names: readText
// and readInteger read what a simple reference reads, numberAfter takes only
// "prefix<digits>", naturalLess is a strict total order that sorts numbers by
// value, and entries() lists a directory of such names in that order.

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_support.h"
#include "platform/linux/sysfs_read.h"

namespace {

namespace fs = std::filesystem;
using qv::lnx::sysfs::naturalLess;

std::string withoutTrailingBlanks(std::string_view s) {
  while (!s.empty() && (s.back() == '\n' || s.back() == ' ' || s.back() == '\t'))
    s.remove_suffix(1);
  return std::string(s);
}

bool allDigits(std::string_view s) {
  return !s.empty() && s.find_first_not_of("0123456789") == std::string_view::npos;
}

// "-?digits" within 64 bits.
std::optional<std::int64_t> integer(const std::string& s) {
  const std::string_view digits = s.starts_with('-') ? std::string_view(s).substr(1) : s;
  if (!allDigits(digits)) return std::nullopt;
  errno = 0;
  const long long v = std::strtoll(s.c_str(), nullptr, 10);
  if (errno == ERANGE) return std::nullopt;
  return v;
}

void checkAttribute(std::string_view content) {
  const fs::path file = qv::fuzz::scratch() / "attribute";
  qv::fuzz::put(file, content);
  // Attribute files are a page at most; the rest is never looked at.
  const std::string want = withoutTrailingBlanks(content.substr(0, 4096));
  FUZZ_CHECK(qv::lnx::sysfs::readText(file) == want);
  FUZZ_CHECK(qv::lnx::sysfs::readInteger(file) == integer(want));
}

void checkNumberAfter(std::string_view name) {
  const auto got = qv::lnx::sysfs::numberAfter(name, "hwmon");
  std::optional<int> want;
  if (name.starts_with("hwmon") && allDigits(name.substr(5))) {
    const std::string digits(name.substr(5));
    errno = 0;
    const long long v = std::strtoll(digits.c_str(), nullptr, 10);
    if (errno != ERANGE && v <= INT_MAX) want = static_cast<int>(v);
  }
  FUZZ_CHECK(got == want);
}

void checkOrder(const std::vector<std::string>& names) {
  for (const auto& a : names) {
    FUZZ_CHECK(!naturalLess(a, a));
    for (const auto& b : names) {
      const bool ab = naturalLess(a, b);
      const bool ba = naturalLess(b, a);
      FUZZ_CHECK(!(ab && ba));
      FUZZ_CHECK(a == b || ab || ba);  // distinct names never tie: the listing is stable
      // The same stem with plain numbers: by value.
      const auto na = qv::lnx::sysfs::numberAfter(a, "hwmon");
      const auto nb = qv::lnx::sysfs::numberAfter(b, "hwmon");
      if (na && nb && a[5] != '0' && b[5] != '0') FUZZ_CHECK(ab == (*na < *nb));
      if (!ab) continue;
      for (const auto& c : names)
        if (naturalLess(b, c)) FUZZ_CHECK(naturalLess(a, c));
    }
  }
}

// Names a directory can hold: no "/" or NUL, not "." or "..", 255 bytes at most.
std::vector<std::string> fileNames(std::string_view text) {
  std::set<std::string> seen;
  std::vector<std::string> out;
  for (std::string_view line : qv::fuzz::sections(text, "\n", 24)) {
    std::string name(line.substr(0, 255));
    std::replace(name.begin(), name.end(), '/', '_');
    std::replace(name.begin(), name.end(), '\0', '_');
    if (name.empty() || name == "." || name == ".." || !seen.insert(name).second) continue;
    out.push_back(name);
  }
  return out;
}

void checkEntries(const std::vector<std::string>& names) {
  const fs::path dir = qv::fuzz::scratch() / "entries";
  std::error_code ec;
  fs::remove_all(dir, ec);
  fs::create_directories(dir);
  std::vector<std::string> visible;
  for (std::size_t i = 0; i < names.size(); ++i) {
    // Files, directories and dangling links are all entries.
    if (i % 3 == 0) qv::fuzz::put(dir / names[i], "1\n");
    if (i % 3 == 1) fs::create_directory(dir / names[i]);
    if (i % 3 == 2) fs::create_symlink("../gone", dir / names[i]);
    if (names[i].front() != '.') visible.push_back(names[i]);
  }
  const auto got = qv::lnx::sysfs::entries(dir);
  FUZZ_CHECK(got.has_value());
  FUZZ_CHECK(std::is_sorted(got->begin(), got->end(),
                            [](const auto& a, const auto& b) { return naturalLess(a, b); }));
  std::sort(visible.begin(), visible.end());
  std::vector<std::string> listed = *got;
  std::sort(listed.begin(), listed.end());
  FUZZ_CHECK(listed == visible);
  FUZZ_CHECK(!qv::lnx::sysfs::entries(dir / "missing").has_value());
}

}  // namespace

// The input: an attribute file's bytes, then after a line "---" entry names,
// one a line.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const auto parts = qv::fuzz::sections(input, "\n---\n", 2);
  checkAttribute(parts[0]);
  const std::string_view namesText = parts.size() > 1 ? parts[1] : parts[0].substr(0, 512);
  const std::vector<std::string> names = fileNames(namesText);
  for (const auto& name : names) checkNumberAfter(name);
  checkNumberAfter(parts[0].substr(0, 64));
  checkOrder(names);
  checkEntries(names);
  return 0;
}
