// The settings file holding anything. Reads never crash. A write succeeds
// exactly when every line of the file parses; when it fails the file's bytes
// and what reads return stay as they were, and when it succeeds the value
// reads back exactly, every other value is kept, the new file parses again
// and writing the same value once more touches nothing.
//
// The input is the file's bytes, then, each after a line "---", the
// application, section, key and value of the write (defaults for those
// missing).

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "fuzz_support.h"
#include "platform/linux/ini_settings.h"

namespace {

namespace fs = std::filesystem;

// RFC 3629 UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
bool validUtf8(std::string_view s) {
  for (std::size_t i = 0; i < s.size();) {
    const auto c = static_cast<unsigned char>(s[i]);
    std::size_t n = 0;
    char32_t cp = 0;
    if (c < 0x80) {
      ++i;
      continue;
    } else if (c >= 0xC2 && c <= 0xDF) {
      n = 1, cp = c & 0x1F;
    } else if (c >= 0xE0 && c <= 0xEF) {
      n = 2, cp = c & 0x0F;
    } else if (c >= 0xF0 && c <= 0xF4) {
      n = 3, cp = c & 0x07;
    } else {
      return false;
    }
    if (i + n >= s.size()) return false;  // cut short
    for (std::size_t k = 1; k <= n; ++k) {
      const auto d = static_cast<unsigned char>(s[i + k]);
      if ((d & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (d & 0x3F);
    }
    if ((n == 2 && cp < 0x800) || (n == 3 && cp < 0x10000) || cp > 0x10FFFF ||
        (cp >= 0xD800 && cp <= 0xDFFF))
      return false;
    i += n + 1;
  }
  return true;
}

// Whether the store may write over this file: valid UTF-8 without NUL whose
// every line is blank, a comment, a group header or a key=value line.
bool parses(std::string_view bytes) {
  if (!validUtf8(bytes) || bytes.find('\0') != std::string_view::npos) return false;
  if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);
  // Lines end at CR, LF or CR LF; blank lines between are harmless, so
  // treating every CR as a line end is enough here.
  std::string unified(bytes);
  for (char& c : unified)
    if (c == '\r') c = '\n';
  for (std::string_view line : qv::fuzz::sections(unified, "\n", SIZE_MAX)) {
    while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) line.remove_prefix(1);
    while (!line.empty() && (line.back() == ' ' || line.back() == '\t')) line.remove_suffix(1);
    if (line.empty() || line.front() == ';' || line.front() == '#') continue;
    if (line.front() == '[' ? line.find(']') == std::string_view::npos
                            : line.find('=') == std::string_view::npos)
      return false;
  }
  return true;
}

using Key = std::tuple<std::string, std::string, std::string>;

std::vector<std::string> listing(const fs::path& dir) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(dir))
    names.push_back(entry.path().filename().string());
  return names;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const fs::path dir = qv::fuzz::scratch() / "config";
  static const fs::path file = dir / "settings.ini";
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const auto parts = qv::fuzz::sections(input, "\n---\n", 5);
  const std::string bytes(parts[0]);
  auto part = [&](std::size_t i, const char* otherwise) {
    return std::string(i < parts.size() ? parts[i] : std::string_view(otherwise));
  };
  const Key target{part(1, "MyApp"), part(2, "Startup"), part(3, "Form1.Combo9")};
  const std::string value = part(4, "30");
  const auto& [app, section, key] = target;

  std::error_code ec;
  fs::remove_all(dir, ec);
  qv::fuzz::put(file, bytes);
  qv::lnx::IniSettings store(file.string());
  std::vector<Key> keys = {target,
                           {"MyApp", "Startup", "Form1.Combo9"},
                           {"MyApp", "Startup", "Form1.Combo1"},
                           {"MyApp", "Startup", "Option1"},
                           {"a", "a", "status"},
                           {"b", "b", "status"},
                           {"", "", ""}};
  std::map<Key, std::optional<std::string>> before;
  for (const auto& [a, s, k] : keys) before[{a, s, k}] = store.read(a, s, k);

  const bool wrote = store.write(app, section, key, value);
  FUZZ_CHECK(wrote == parses(bytes));
  FUZZ_CHECK(listing(dir) == std::vector<std::string>{"settings.ini"});
  if (!wrote) {
    FUZZ_CHECK(qv::fuzz::slurp(file) == bytes);
    qv::lnx::IniSettings again(file.string());
    for (const auto& [a, s, k] : keys) {
      FUZZ_CHECK(store.read(a, s, k) == before[{a, s, k}]);
      FUZZ_CHECK(again.read(a, s, k) == before[{a, s, k}]);
    }
    return 0;
  }

  const std::string after = qv::fuzz::slurp(file);
  FUZZ_CHECK(parses(after));
  qv::lnx::IniSettings fresh(file.string());
  for (const auto& [a, s, k] : keys) {
    if (Key{a, s, k} == target) continue;
    FUZZ_CHECK(fresh.read(a, s, k) == before[{a, s, k}]);
  }
  if (validUtf8(app) && validUtf8(section) && validUtf8(key) && validUtf8(value)) {
    FUZZ_CHECK(store.read(app, section, key) == value);
    FUZZ_CHECK(fresh.read(app, section, key) == value);
  }
  FUZZ_CHECK(fresh.write(app, section, key, value));
  FUZZ_CHECK(qv::fuzz::slurp(file) == after);
  return 0;
}
