#include "platform/linux/xdg_autostart.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QByteArray>
#include <QStringDecoder>
#include <cerrno>

#include "platform/linux/config_home.h"

namespace qv::lnx {

namespace {

bool isValidUtf8(std::string_view text) {
  QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  // Decoding is lazy: it runs when the result is converted.
  QString decoded =
      decoder.decode(QByteArrayView(text.data(), static_cast<qsizetype>(text.size())));
  return !decoder.hasError();
}

// Entry names become file names; refuse anything that would leave the folder.
bool isValidName(const std::string& name) {
  return !name.empty() && name != "." && name != ".." &&
         name.find_first_of(std::string_view("/\0", 2)) == std::string::npos;
}

bool writeAll(int fd, std::string_view data) {
  while (!data.empty()) {
    ssize_t n = ::write(fd, data.data(), data.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    data.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

void syncDirectory(const std::string& dir) {
  int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

// A string value: backslashes and line breaks escaped.
std::string escapeString(std::string_view text) {
  std::string value;
  for (char c : text) {
    switch (c) {
      case '\\':
        value += "\\\\";
        break;
      case '\n':
        value += "\\n";
        break;
      case '\t':
        value += "\\t";
        break;
      case '\r':
        value += "\\r";
        break;
      default:
        value += c;
    }
  }
  return value;
}

}  // namespace

std::optional<std::string> execValue(std::string_view path) {
  if (!isValidUtf8(path)) return std::nullopt;
  constexpr std::string_view reserved = " \t\n\r\"'\\><~|&;$*?#()`";
  bool quote = path.find_first_of(reserved) != std::string_view::npos;
  std::string argument;
  if (quote) argument += '"';
  for (char c : path) {
    if (static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\n' && c != '\r')
      return std::nullopt;
    if (c == 0x7f) return std::nullopt;
    if (quote && (c == '"' || c == '`' || c == '$' || c == '\\')) argument += '\\';
    argument += c;
    if (c == '%') argument += '%';  // a lone % would start a field code
  }
  if (quote) argument += '"';

  // Exec is a string value, so its backslashes and line breaks are escaped
  // once more on top of the quoting.
  return escapeString(argument);
}

XdgAutostart::XdgAutostart(std::string configDir) {
  std::string base = configDir.empty() ? configHome() : std::move(configDir);
  // Only an absolute folder: a relative one would depend on where we started.
  if (!base.empty() && base.front() == '/') dir_ = base + "/autostart";
}

std::string XdgAutostart::entryPath(const std::string& name) const {
  return dir_ + "/" + name + ".desktop";
}

bool XdgAutostart::add(const std::string& name, const std::string& path) {
  std::optional<std::string> exec = execValue(path);
  if (!isValidName(name) || path.empty() || !exec || dir_.empty()) return false;
  if (!makeDirectories(dir_)) return false;
  std::string entry =
      "[Desktop Entry]\n"
      "Type=Application\n"
      "Name=Quorvane\n"
      "Exec=" +
      *exec +
      "\n"
      // Once the program is gone (its package removed) desktops skip the
      // entry instead of failing to start it at every log-on.
      "TryExec=" +
      escapeString(path) +
      "\n"
      "X-GNOME-Autostart-enabled=true\n";

  // Write beside the target and rename over it: readers see the old entry or
  // the whole new one, never a part.
  std::string target = entryPath(name);
  std::string temp = dir_ + "/." + name + ".desktop.XXXXXX";
  int fd = ::mkostemp(temp.data(), O_CLOEXEC);
  if (fd < 0) return false;
  bool ok = ::fchmod(fd, 0644) == 0 && writeAll(fd, entry) && ::fsync(fd) == 0;
  ok = ::close(fd) == 0 && ok;
  ok = ok && ::rename(temp.c_str(), target.c_str()) == 0;
  if (!ok) {
    ::unlink(temp.c_str());
    return false;
  }
  syncDirectory(dir_);
  return true;
}

bool XdgAutostart::remove(const std::string& name) {
  if (!isValidName(name) || dir_.empty()) return false;
  if (::unlink(entryPath(name).c_str()) != 0) return errno == ENOENT;
  syncDirectory(dir_);
  return true;
}

}  // namespace qv::lnx
