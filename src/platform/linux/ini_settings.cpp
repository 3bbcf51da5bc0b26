#include "platform/linux/ini_settings.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QByteArray>
#include <QList>
#include <QStringDecoder>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "platform/linux/config_home.h"

namespace qv::lnx {

namespace {

// UTF-8 as it stands: QString::fromUtf8 would drop a leading U+FEFF, which in
// a name or a value is part of the text.
QString exactUtf8(std::string_view text) {
  QStringDecoder decoder(QStringDecoder::Utf8,
                         QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
  return decoder.decode(QByteArrayView(text.data(), static_cast<qsizetype>(text.size())));
}

// --- Names -----------------------------------------------------------------

// Our layer: keeps "/" and "\" (QSettings' group separators) and empty names
// out of the INI names, and "." out of application names.
QString escapeName(std::string_view name, bool escapeDot) {
  if (name.empty()) return QStringLiteral("%");
  QString out;
  for (QChar c : exactUtf8(name)) {
    if (c == u'%')
      out += QLatin1String("%25");
    else if (c == u'/')
      out += QLatin1String("%2F");
    else if (c == u'\\')
      out += QLatin1String("%5C");
    else if (c == u'.' && escapeDot)
      out += QLatin1String("%2E");
    else
      out += c;
  }
  return out;
}

void appendHex(QString& out, unsigned value, int digits) {
  out += QString::number(value, 16).toUpper().rightJustified(digits, u'0');
}

// INI layer for group names and keys, as QSettings writes them: plain ASCII
// letters, digits and "_-." as they are, the rest as %XX or %UXXXX.
QString encodeName(const QString& name) {
  QString out;
  for (QChar c : name) {
    char16_t u = c.unicode();
    bool plain = (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') ||
                 u == '_' || u == '-' || u == '.';
    if (plain) {
      out += c;
    } else if (u < 0x100) {
      out += u'%';
      appendHex(out, u, 2);
    } else {
      out += QLatin1String("%U");
      appendHex(out, u, 4);
    }
  }
  return out;
}

int hexDigit(QChar c) {
  char16_t u = c.unicode();
  if (u >= '0' && u <= '9') return u - '0';
  if (u >= 'a' && u <= 'f') return u - 'a' + 10;
  if (u >= 'A' && u <= 'F') return u - 'A' + 10;
  return -1;
}

QString decodeName(QStringView text) {
  QString out;
  for (qsizetype i = 0; i < text.size(); ++i) {
    QChar c = text[i];
    auto hexAt = [&](qsizetype from, int digits) -> int {
      if (from + digits > text.size()) return -1;
      int v = 0;
      for (int d = 0; d < digits; ++d) {
        int h = hexDigit(text[from + d]);
        if (h < 0) return -1;
        v = v * 16 + h;
      }
      return v;
    };
    if (c == u'%' && i + 1 < text.size() && text[i + 1] == u'U') {
      if (int v = hexAt(i + 2, 4); v >= 0) {
        out += QChar(static_cast<char16_t>(v));
        i += 5;
        continue;
      }
    } else if (c == u'%') {
      if (int v = hexAt(i + 1, 2); v >= 0) {
        out += QChar(static_cast<char16_t>(v));
        i += 2;
        continue;
      }
    }
    out += c == u'\\' ? QChar(u'/') : c;  // QSettings writes a "/" in a key as "\"
  }
  return out;
}

// --- Values ----------------------------------------------------------------

bool isBlank(QChar c) {
  return c == u' ' || c == u'\t';
}

// Only the INI blanks: a no-break or ideographic space is part of the text.
QStringView trimBlanks(QStringView text) {
  while (!text.isEmpty() && isBlank(text.front())) text = text.mid(1);
  while (!text.isEmpty() && isBlank(text.back())) text.chop(1);
  return text;
}

// As QSettings writes a string: a leading "@" doubled (it marks typed values),
// quoted when it has edge blanks or characters the syntax uses.
QString encodeValue(QString v) {
  if (v.startsWith(u'@')) v.prepend(u'@');
  // Any kind of space at either end is quoted, in case a reader trims it.
  bool quote = !v.isEmpty() && (v.front().isSpace() || v.back().isSpace());
  for (QChar c : v)
    if (c.unicode() < 0x20 || c == u';' || c == u',' || c == u'"' || c == u'\\' || c == u'=')
      quote = true;
  if (!quote) return v;
  QString out = QStringLiteral("\"");
  for (qsizetype i = 0; i < v.size(); ++i) {
    QChar c = v[i];
    if (c == u'"' || c == u'\\') {
      out += u'\\';
      out += c;
    } else if (c == u'\n') {
      out += QLatin1String("\\n");
    } else if (c == u'\r') {
      out += QLatin1String("\\r");
    } else if (c == u'\t') {
      out += QLatin1String("\\t");
    } else if (c == u'\0') {
      out += QLatin1String("\\0");
      // Octal escapes run on greedily; a digit after it starts a new quote.
      if (i + 1 < v.size() && v[i + 1] >= u'0' && v[i + 1] <= u'7') out += QLatin1String("\"\"");
    } else {
      out += c;  // other control characters are read back as they are
    }
  }
  out += u'"';
  return out;
}

// Reads a value as QSettings does for text: quotes, backslash escapes, ";"
// ends it, "," separates list items (given back joined by ","), "@" prefixes.
// nullopt for what QSettings would read as something other than text.
std::optional<QString> decodeValue(QStringView raw) {
  std::vector<QString> items(1);
  bool quoted = false;
  QString pending;  // blanks outside quotes, kept only between other text
  for (qsizetype i = 0; i < raw.size(); ++i) {
    QChar c = raw[i];
    QString& item = items.back();
    if (!quoted && c == u';') break;
    if (!quoted && c == u',') {
      items.emplace_back();
      pending.clear();
      continue;
    }
    if (!quoted && isBlank(c)) {
      pending += c;
      continue;
    }
    if (!item.isEmpty()) item += pending;
    pending.clear();
    if (c == u'"') {
      quoted = !quoted;
      continue;
    }
    if (c != u'\\' || i + 1 == raw.size()) {
      item += c;
      continue;
    }
    QChar e = raw[++i];
    switch (e.unicode()) {
      case 'a':
        item += u'\a';
        break;
      case 'b':
        item += u'\b';
        break;
      case 'f':
        item += u'\f';
        break;
      case 'n':
        item += u'\n';
        break;
      case 'r':
        item += u'\r';
        break;
      case 't':
        item += u'\t';
        break;
      case 'v':
        item += u'\v';
        break;
      case 'x': {
        unsigned v = 0;
        while (i + 1 < raw.size() && hexDigit(raw[i + 1]) >= 0) v = v * 16 + hexDigit(raw[++i]);
        item += QChar(static_cast<char16_t>(v));
        break;
      }
      default:
        if (e >= u'0' && e <= u'7') {
          unsigned v = e.unicode() - '0';
          while (i + 1 < raw.size() && raw[i + 1] >= u'0' && raw[i + 1] <= u'7')
            v = v * 8 + (raw[++i].unicode() - '0');
          item += QChar(static_cast<char16_t>(v));
        } else {
          item += e;  // \" \' \\ \? and anything unknown
        }
    }
  }
  QString value;
  for (std::size_t n = 0; n < items.size(); ++n) value += (n ? "," : "") + items[n];
  if (items.size() > 1 || !value.startsWith(u'@')) return value;
  if (value.startsWith(QLatin1String("@@"))) return value.mid(1);
  for (QLatin1String text : {QLatin1String("@String("), QLatin1String("@ByteArray(")})
    if (value.startsWith(text) && value.endsWith(u')'))
      return value.mid(text.size(), value.size() - text.size() - 1);
  for (QLatin1String typed :
       {QLatin1String("@Invalid("), QLatin1String("@Variant("), QLatin1String("@DateTime("),
        QLatin1String("@Rect("), QLatin1String("@Size("), QLatin1String("@Point(")})
    if (value.startsWith(typed)) return std::nullopt;
  return value;
}

// --- Files -----------------------------------------------------------------

ini::Document parse(const QString& text) {
  ini::Document doc;
  doc.groups.push_back({});  // keys before any group header, QSettings' [General]
  // A line ends at CR, LF or CR LF, as QSettings reads it: a stray CR is a
  // line end, never part of a value.
  QString unified = text;
  unified.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  unified.replace(u'\r', u'\n');
  for (QStringView line : QStringView(unified).split(u'\n')) {
    line = trimBlanks(line);
    if (line.isEmpty() || line.startsWith(u';') || line.startsWith(u'#')) continue;
    if (line.startsWith(u'[')) {
      qsizetype close = line.lastIndexOf(u']');
      if (close < 0) {
        doc.clean = false;
        continue;
      }
      QString name = decodeName(line.mid(1, close - 1));
      if (name == QLatin1String("General")) name.clear();
      doc.groups.push_back({name, {}});
      continue;
    }
    qsizetype eq = line.indexOf(u'=');
    if (eq < 0) {
      doc.clean = false;
      continue;
    }
    doc.groups.back().entries.push_back(
        {decodeName(trimBlanks(line.left(eq))), trimBlanks(line.mid(eq + 1)).toString()});
  }
  return doc;
}

QString serialize(const ini::Document& doc) {
  QString out;
  for (const auto& group : doc.groups) {
    if (group.entries.empty()) continue;
    if (!out.isEmpty()) out += u'\n';
    out += u'[' + (group.name.isEmpty() ? QStringLiteral("General") : encodeName(group.name)) +
           QLatin1String("]\n");
    for (const auto& e : group.entries) out += encodeName(e.key) + u'=' + e.raw + u'\n';
  }
  return out;
}

// The last entry of `key` in any group of that name, as QSettings would pick.
template <typename Doc>
auto* find(Doc& doc, const QString& group, const QString& key) {
  for (auto g = doc.groups.rbegin(); g != doc.groups.rend(); ++g) {
    if (g->name != group) continue;
    for (auto e = g->entries.rbegin(); e != g->entries.rend(); ++e)
      if (e->key == key) return &*e;
  }
  return static_cast<decltype(&doc.groups.front().entries.front())>(nullptr);
}

bool writeAll(int fd, const QByteArray& data) {
  const char* p = data.constData();
  qsizetype left = data.size();
  while (left > 0) {
    ssize_t n = ::write(fd, p, static_cast<std::size_t>(left));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    p += n;
    left -= n;
  }
  return true;
}

struct Fd {
  int fd = -1;
  ~Fd() {
    if (fd >= 0) ::close(fd);
  }
};

bool sameTime(const timespec& a, const timespec& b) {
  return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

// A temporary file of ours left behind by a crash: ".<name>.XXXXXX".
bool isOurTemporary(const std::string& entry, const std::string& name) {
  std::string prefix = "." + name + ".";
  return entry.size() == prefix.size() + 6 && entry.compare(0, prefix.size(), prefix) == 0;
}

}  // namespace

IniSettings::IniSettings(std::string path) : path_(std::move(path)) {}

std::string IniSettings::defaultPath() {
  std::string home = configHome();
  return home.empty() ? std::string() : home + "/quorvane/settings.ini";
}

// Reads the file again when it has changed since we last read or wrote it.
void IniSettings::load(bool force) {
  struct stat st {};
  if (::stat(path_.c_str(), &st) != 0) {
    bool missing = errno == ENOENT || errno == ENOTDIR;
    state_ = missing ? State::Missing : State::Unreadable;
    doc_ = {};
    stamp_.reset();
    return;
  }
  Stamp now{st.st_dev, st.st_ino, st.st_size, st.st_mtim, st.st_ctim};
  if (!force && stamp_ && stamp_->dev == now.dev && stamp_->ino == now.ino &&
      stamp_->size == now.size && sameTime(stamp_->mtime, now.mtime) &&
      sameTime(stamp_->ctime, now.ctime))
    return;
  stamp_.reset();
  doc_ = {};
  state_ = State::Unreadable;
  Fd file{::open(path_.c_str(), O_RDONLY | O_CLOEXEC)};
  if (file.fd < 0 || ::fstat(file.fd, &st) != 0 || !S_ISREG(st.st_mode)) return;
  QByteArray bytes;
  char chunk[8192];
  for (;;) {
    ssize_t n = ::read(file.fd, chunk, sizeof chunk);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return;
    if (n == 0) break;
    bytes.append(chunk, n);
  }
  stamp_ = Stamp{st.st_dev, st.st_ino, st.st_size, st.st_mtim, st.st_ctim};
  // Binary junk is not a settings file at all: nothing in it can be trusted.
  QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  QString text = decoder.decode(bytes);
  if (decoder.hasError() || text.contains(QChar(u'\0'))) {
    state_ = State::Unparsable;
    return;
  }
  doc_ = parse(text);
  state_ = doc_.clean ? State::Loaded : State::Unparsable;
}

bool IniSettings::usable() {
  if (state_ == State::Loaded || state_ == State::Missing) {
    warned_ = false;
    return true;
  }
  if (!warned_)
    std::fprintf(stderr, "quorvane: %s cannot be %s; settings will not be saved\n", path_.c_str(),
                 state_ == State::Unparsable ? "parsed" : "read");
  warned_ = true;
  return false;
}

std::optional<std::string> IniSettings::read(std::string_view app, std::string_view section,
                                             std::string_view key) {
  if (path_.empty()) return std::nullopt;
  const QString group = escapeName(app, true) + u'.' + escapeName(section, false);
  const QString name = escapeName(key, false);
  // What this handler wrote reads back before it reaches the file.
  for (auto it = held_.rbegin(); it != held_.rend(); ++it)
    if (it->group == group && it->name == name) return it->value.toStdString();
  load(false);
  const ini::Entry* e = find(doc_, group, name);
  if (!e) return std::nullopt;
  std::optional<QString> value = decodeValue(e->raw);
  if (!value) return std::nullopt;
  return value->toStdString();
}

bool IniSettings::write(std::string_view app, std::string_view section, std::string_view key,
                        std::string_view value) {
  if (path_.empty()) return false;
  Change change{escapeName(app, true) + u'.' + escapeName(section, false), escapeName(key, false),
                exactUtf8(value)};
  load(false);
  if (!usable()) return false;
  if (holding_) {
    held_.push_back(std::move(change));
    return true;
  }
  return store({change});
}

void IniSettings::hold() {
  holding_ = true;
}

bool IniSettings::commit() {
  holding_ = false;
  std::vector<Change> changes;
  changes.swap(held_);
  if (changes.empty()) return true;
  if (store(changes)) return true;
  std::fprintf(stderr, "quorvane: %s could not be written; %zu settings were not saved\n",
               path_.c_str(), changes.size());
  return false;
}

bool IniSettings::store(const std::vector<Change>& changes) {
  auto stored = [&] {
    for (const Change& c : changes) {
      const ini::Entry* e = find(doc_, c.group, c.name);
      if (!e || decodeValue(e->raw) != c.value) return false;
    }
    return true;
  };
  if (stored()) return true;

  // Write to where a symbolic link points, so a linked file stays linked.
  std::string target = path_;
  if (std::unique_ptr<char, decltype(&std::free)> real(::realpath(path_.c_str(), nullptr),
                                                       &std::free);
      real)
    target = real.get();
  std::size_t slash = target.find_last_of('/');
  std::string dir = slash == std::string::npos ? "." : target.substr(0, slash);
  if (!makeDirectories(dir)) return false;

  // One writer at a time (another instance of the program, say), and the
  // file read again under the lock so its changes are not lost. The lock
  // goes with the process, so a crash leaves none behind.
  Fd lock{::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)};
  if (lock.fd >= 0)
    while (::flock(lock.fd, LOCK_EX) != 0 && errno == EINTR) {
    }
  load(true);
  if (!usable()) return false;
  if (stored()) return true;

  ini::Document next = doc_;
  for (const Change& c : changes) {
    if (ini::Entry* e = find(next, c.group, c.name)) {
      e->raw = encodeValue(c.value);
      continue;
    }
    ini::Group* home = nullptr;
    for (auto& g : next.groups)
      if (g.name == c.group) home = &g;
    if (!home) home = &next.groups.emplace_back(ini::Group{c.group, {}});
    home->entries.push_back({c.name, encodeValue(c.value)});
  }
  std::string base = target.substr(slash + 1);
  if (!save(next, dir, base)) return false;
  doc_ = std::move(next);
  struct stat st {};
  if (::stat(path_.c_str(), &st) == 0)
    stamp_ = Stamp{st.st_dev, st.st_ino, st.st_size, st.st_mtim, st.st_ctim};
  state_ = State::Loaded;

  // Under the lock no other writer is between creating and renaming its
  // temporary file, so any left over is from a crash.
  if (DIR* d = ::opendir(dir.c_str())) {
    while (dirent* entry = ::readdir(d))
      if (isOurTemporary(entry->d_name, base)) ::unlinkat(::dirfd(d), entry->d_name, 0);
    ::closedir(d);
  }
  return true;
}

// The whole file into a temporary beside it, flushed, then renamed over it.
bool IniSettings::save(const ini::Document& doc, const std::string& dir, const std::string& name) {
  std::string target = dir + "/" + name;
  std::string temp = dir + "/." + name + ".XXXXXX";
  Fd file{::mkostemp(temp.data(), O_CLOEXEC)};
  if (file.fd < 0) return false;
  struct stat old {};
  mode_t mode = ::stat(target.c_str(), &old) == 0 ? (old.st_mode & 07777) : 0600;
  bool ok = ::fchmod(file.fd, mode) == 0 && writeAll(file.fd, serialize(doc).toUtf8()) &&
            ::fsync(file.fd) == 0;
  ok = ::close(file.fd) == 0 && ok;
  file.fd = -1;
  ok = ok && ::rename(temp.c_str(), target.c_str()) == 0;
  if (!ok) {
    ::unlink(temp.c_str());
    return false;
  }
  // The folder is not synced: a power cut right after this may bring back the
  // previous file, which is whole too, and syncing it doubled the time of a
  // write.
  return true;
}

}  // namespace qv::lnx
