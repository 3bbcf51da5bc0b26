#pragma once
#include <sys/types.h>

#include <QString>
#include <ctime>
#include <optional>
#include <string>
#include <vector>

#include "platform/settings_backend.h"

namespace qv::lnx {

namespace ini {
// A parsed file: groups and keys in file order, values as written.
struct Entry {
  QString key;
  QString raw;
};
struct Group {
  QString name;
  std::vector<Entry> entries;
};
struct Document {
  std::vector<Group> groups;
  bool clean = true;  // every line parsed
};
}  // namespace ini

// The settings store as an INI file in the syntax QSettings reads and writes
// (IniFormat), so either can read the other's file.
//
// Layout: one group per (application, section) named "application.section",
// with the keys under it:
//   [MyApp.Startup]
//   Form1.Combo9=00
//   [a.a]
//   status=1
// Names are stored exactly: "%", "/" and "\" (and "." in the application
// name, so the split stays unambiguous) become %25, %2F, %5C and %2E, an
// empty name a lone "%"; then the usual INI escapes apply (%20 for a space,
// %U4E2D for 中). Values are any UTF-8 text and read back exactly.
//
// We read and write the file ourselves rather than through QSettings: Qt 6.4
// commits a truncated file when the disk fills up, so a failed save would
// wipe the user's settings.
//
// Every write that changes a value reaches the disk before it returns, as a
// new file renamed over the old one, so a crash leaves one or the other. A
// write of the stored value touches nothing. A file that cannot be read, or
// has a line that does not parse, is never written over: reads still return
// the values of the lines that parsed (none for a binary or non-UTF-8 file)
// and writes return false until the file is repaired. A failed write leaves
// the file, and what reads return, as they were.
//
// Between hold() and commit() the writes are kept and read back, and commit()
// writes them all in one new file: an apply button that saves 73 keys costs
// one write to the disk, and a crash keeps all of them or none.
class IniSettings : public SettingsBackend {
 public:
  explicit IniSettings(std::string path);

  // $XDG_CONFIG_HOME/quorvane/settings.ini (see configHome()).
  static std::string defaultPath();

  std::optional<std::string> read(std::string_view app, std::string_view section,
                                  std::string_view key) override;
  bool write(std::string_view app, std::string_view section, std::string_view key,
             std::string_view value) override;
  void hold() override;
  bool commit() override;

 private:
  enum class State { Missing, Loaded, Unparsable, Unreadable };
  struct Stamp {
    dev_t dev = 0;
    ino_t ino = 0;
    off_t size = -1;
    timespec mtime{};
    timespec ctime{};
  };

  struct Change {
    QString group;
    QString name;
    QString value;
  };

  void load(bool force);
  // Writes the changes in one new file, unless the file has them already.
  bool store(const std::vector<Change>& changes);
  bool usable();
  bool save(const ini::Document& doc, const std::string& dir, const std::string& name);

  std::string path_;
  State state_ = State::Missing;
  std::optional<Stamp> stamp_;  // of the file doc_ came from
  ini::Document doc_;
  bool warned_ = false;  // about a file we refuse to write
  bool holding_ = false;
  std::vector<Change> held_;
};

}  // namespace qv::lnx
