#include "platform/linux/desktop_entry.h"

#include <fstream>
#include <iterator>

namespace qv::lnx {
namespace {

constexpr std::size_t kMaxEntryBytes = 1 << 20;  // desktop entries are a few kilobytes

std::string_view trim(std::string_view s) {
  const auto first = s.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  const auto last = s.find_last_not_of(" \t");
  return s.substr(first, last - first + 1);
}

// The escapes every string value may hold; others are left for the Exec
// quoting, which runs after this.
std::string unescape(std::string_view value) {
  std::string out;
  for (std::size_t i = 0; i < value.size(); ++i) {
    if (value[i] == '\\' && i + 1 < value.size()) {
      switch (value[i + 1]) {
        case 's':
          out += ' ';
          ++i;
          continue;
        case 'n':
          out += '\n';
          ++i;
          continue;
        case 't':
          out += '\t';
          ++i;
          continue;
        case 'r':
          out += '\r';
          ++i;
          continue;
        case '\\':
          out += '\\';
          ++i;
          continue;
        default:
          break;
      }
    }
    out += value[i];
  }
  return out;
}

std::vector<std::string> splitList(std::string_view value) {
  std::vector<std::string> items;
  std::string item;
  for (std::size_t i = 0; i < value.size(); ++i) {
    if (value[i] == '\\' && i + 1 < value.size() && value[i + 1] == ';') {
      item += ';';
      ++i;
    } else if (value[i] == ';') {
      if (!item.empty()) items.push_back(unescape(item));
      item.clear();
    } else {
      item += value[i];
    }
  }
  if (!item.empty()) items.push_back(unescape(item));
  return items;
}

bool isTrue(std::string_view value) {
  return value == "true" || value == "1";
}

void setKey(DesktopEntry& entry, std::string_view key, std::string_view locale,
            std::string_view value) {
  if (!locale.empty()) {
    if (key == "Name") entry.names.emplace(locale, unescape(value));
    return;
  }
  if (key == "Type") {
    entry.type = unescape(value);
  } else if (key == "Exec") {
    entry.exec = unescape(value);
  } else if (key == "TryExec") {
    entry.tryExec = unescape(value);
  } else if (key == "Icon") {
    entry.icon = unescape(value);
  } else if (key == "Name") {
    entry.names.emplace("", unescape(value));
  } else if (key == "Hidden") {
    entry.hidden = isTrue(value);
  } else if (key == "Terminal") {
    entry.terminal = isTrue(value);
  } else if (key == "OnlyShowIn") {
    entry.onlyShowIn = splitList(value);
  } else if (key == "NotShowIn") {
    entry.notShowIn = splitList(value);
  }
}

// The text a token stands for after its field codes; nullopt when the token
// is a lone file or URL code, which goes away with no file to pass.
std::optional<std::vector<std::string>> expandCodes(const std::string& token,
                                                    const ExecFields& fields) {
  static constexpr std::string_view kFileCodes = "fFuUdDnNvm";
  if (token.size() == 2 && token[0] == '%') {
    if (kFileCodes.find(token[1]) != std::string_view::npos) return std::nullopt;
    if (token[1] == 'i') {
      if (fields.icon.empty()) return std::vector<std::string>{};
      return std::vector<std::string>{"--icon", fields.icon};
    }
  }
  std::string out;
  for (std::size_t i = 0; i < token.size(); ++i) {
    if (token[i] != '%') {
      out += token[i];
      continue;
    }
    if (++i == token.size()) break;
    switch (token[i]) {
      case '%':
        out += '%';
        break;
      case 'c':
        out += fields.name;
        break;
      case 'k':
        out += fields.file;
        break;
      default:
        break;  // file codes inside an argument and unknown codes expand to nothing
    }
  }
  return std::vector<std::string>{out};
}

}  // namespace

std::optional<DesktopEntry> parseDesktopEntry(std::string_view text) {
  DesktopEntry entry;
  bool found = false;
  bool inGroup = false;
  while (!text.empty()) {
    const auto end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    line = trim(line);
    if (line.empty() || line.front() == '#') continue;
    if (line.front() == '[') {
      inGroup = line == "[Desktop Entry]";
      found = found || inGroup;
      continue;
    }
    const auto eq = line.find('=');
    if (!inGroup || eq == std::string_view::npos) continue;
    std::string_view key = trim(line.substr(0, eq));
    std::string_view locale;
    if (const auto open = key.find('['); open != std::string_view::npos && key.back() == ']') {
      locale = key.substr(open + 1, key.size() - open - 2);
      key = key.substr(0, open);
    }
    setKey(entry, key, locale, trim(line.substr(eq + 1)));
  }
  if (!found) return std::nullopt;
  return entry;
}

std::optional<DesktopEntry> readDesktopEntry(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::string text;
  text.resize(kMaxEntryBytes + 1);
  in.read(text.data(), static_cast<std::streamsize>(text.size()));
  if (in.bad() || static_cast<std::size_t>(in.gcount()) > kMaxEntryBytes) return std::nullopt;
  text.resize(static_cast<std::size_t>(in.gcount()));
  return parseDesktopEntry(text);
}

std::string localizedName(const DesktopEntry& entry, std::string_view locale) {
  locale = locale.substr(0, locale.find_first_of(".@"));
  const std::string_view lang = locale.substr(0, locale.find('_'));
  for (std::string_view key : {locale, lang, std::string_view()}) {
    if (const auto it = entry.names.find(std::string(key)); it != entry.names.end()) {
      return it->second;
    }
  }
  return {};
}

std::optional<std::vector<std::string>> splitExec(std::string_view exec, const ExecFields& fields) {
  // Quoting first: inside double quotes a backslash escapes " ` $ and \ only;
  // outside them it escapes any character, as common launchers allow.
  std::vector<std::string> tokens;
  std::string token;
  bool inToken = false;
  bool quoted = false;
  for (std::size_t i = 0; i < exec.size(); ++i) {
    const char c = exec[i];
    if (quoted) {
      if (c == '"') {
        quoted = false;
      } else if (c == '\\' && i + 1 < exec.size() &&
                 std::string_view("\"`$\\").find(exec[i + 1]) != std::string_view::npos) {
        token += exec[++i];
      } else {
        token += c;
      }
    } else if (c == ' ' || c == '\t' || c == '\n') {
      if (inToken) tokens.push_back(std::move(token));
      token.clear();
      inToken = false;
    } else {
      inToken = true;
      if (c == '"') {
        quoted = true;
      } else if (c == '\\' && i + 1 < exec.size()) {
        token += exec[++i];
      } else {
        token += c;
      }
    }
  }
  if (quoted) return std::nullopt;
  if (inToken) tokens.push_back(std::move(token));

  std::vector<std::string> argv;
  for (const auto& t : tokens) {
    if (auto expanded = expandCodes(t, fields)) {
      argv.insert(argv.end(), expanded->begin(), expanded->end());
    }
  }
  if (argv.empty() || argv.front().empty()) return std::nullopt;
  return argv;
}

}  // namespace qv::lnx
