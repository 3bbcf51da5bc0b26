#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdlib>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/linux/config_home.h"
#include "platform/linux/ini_settings.h"
#include "platform/linux/self.h"
#include "platform/linux/xdg_autostart.h"
#include "test_files.h"

namespace qv::lnx {
namespace {

// A reader written from the Desktop Entry rules, independent of the writer:
// the keys of the [Desktop Entry] group, then the string escapes, then the
// Exec quoting. nullopt for anything the rules do not allow.
std::map<std::string, std::string> desktopEntry(const std::string& text) {
  std::map<std::string, std::string> keys;
  bool inGroup = false;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    std::string line = text.substr(start, end - start);
    start = end == std::string::npos ? text.size() : end + 1;
    if (line.empty() || line[0] == '#') continue;
    if (line[0] == '[') {
      inGroup = line == "[Desktop Entry]";
      continue;
    }
    std::size_t eq = line.find('=');
    if (inGroup && eq != std::string::npos) keys[line.substr(0, eq)] = line.substr(eq + 1);
  }
  return keys;
}

std::optional<std::string> unescapeString(const std::string& value) {
  std::string out;
  for (std::size_t i = 0; i < value.size(); ++i) {
    if (value[i] != '\\') {
      out += value[i];
      continue;
    }
    if (++i == value.size()) return std::nullopt;
    switch (value[i]) {
      case 's':
        out += ' ';
        break;
      case 'n':
        out += '\n';
        break;
      case 't':
        out += '\t';
        break;
      case 'r':
        out += '\r';
        break;
      case '\\':
        out += '\\';
        break;
      default:
        return std::nullopt;
    }
  }
  return out;
}

std::optional<std::vector<std::string>> execArguments(const std::string& exec) {
  const std::string reserved = " \t\n\"'\\><~|&;$*?#()`";
  std::vector<std::string> args;
  std::string current;
  bool inArgument = false, quoted = false;
  for (std::size_t i = 0; i < exec.size(); ++i) {
    char c = exec[i];
    if (c == '%') {  // only %% here: a field code would add arguments
      if (i + 1 == exec.size() || exec[i + 1] != '%') return std::nullopt;
      current += '%';
      inArgument = true;
      ++i;
    } else if (quoted) {
      if (c == '"') {
        quoted = false;
      } else if (c == '\\') {
        if (i + 1 == exec.size() || std::string("\"`$\\").find(exec[i + 1]) == std::string::npos)
          return std::nullopt;
        current += exec[++i];
      } else {
        current += c;
      }
    } else if (c == ' ') {
      if (inArgument) args.push_back(current);
      current.clear();
      inArgument = false;
    } else if (c == '"') {
      quoted = inArgument = true;
    } else if (reserved.find(c) != std::string::npos) {
      return std::nullopt;  // must have been quoted
    } else {
      current += c;
      inArgument = true;
    }
  }
  if (quoted) return std::nullopt;
  if (inArgument) args.push_back(current);
  return args;
}

class XdgAutostartTest : public ::testing::Test {
 protected:
  QTemporaryDir tmp;
  std::string config = tmp.path().toStdString() + "/config";
  std::string dir = config + "/autostart";

  std::vector<std::string> dirEntries() const {
    std::vector<std::string> names;
    for (const QString& n : QDir(QString::fromStdString(dir))
                                .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden))
      names.push_back(n.toStdString());
    return names;
  }
};

TEST_F(XdgAutostartTest, WritesTheEntryByteForByte) {
  XdgAutostart autostart(config);
  ASSERT_TRUE(autostart.add("quorvane", "/opt/my apps/100% quorvane"));
  EXPECT_EQ(slurp(dir + "/quorvane.desktop"),
            "[Desktop Entry]\n"
            "Type=Application\n"
            "Name=Quorvane\n"
            "Exec=\"/opt/my apps/100%% quorvane\"\n"
            "TryExec=/opt/my apps/100% quorvane\n"
            "X-GNOME-Autostart-enabled=true\n");
  struct stat st {};
  ASSERT_EQ(::stat((dir + "/quorvane.desktop").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0644u);
}

TEST_F(XdgAutostartTest, NastyPathsStartExactlyThatProgram) {
  struct Case {
    std::string path;
    std::string exec;  // as it must appear after "Exec="
  };
  for (const Case& c : {
           Case{"/usr/bin/quorvane", "/usr/bin/quorvane"},
           {"/opt/100%/q", "/opt/100%%/q"},
           {"/opt/%f %u", R"e("/opt/%%f %%u")e"},
           {"/opt/a\"b", R"e("/opt/a\\"b")e"},
           {"/opt/it's", R"e("/opt/it's")e"},
           {"/opt/$HOME/q", R"e("/opt/\\$HOME/q")e"},
           {"/opt/back\\slash", R"e("/opt/back\\\\slash")e"},
           {"/opt/`id`", R"e("/opt/\\`id\\`")e"},
           {"/opt/new\nline", R"e("/opt/new\nline")e"},
           {"/opt/tab\there", R"e("/opt/tab\there")e"},
           {"/opt/a;b&c|d>e<f", R"e("/opt/a;b&c|d>e<f")e"},
           {"/opt/~u/*?#()", R"e("/opt/~u/*?#()")e"},
           {"/opt/\\\"$`\\", R"e("/opt/\\\\\\"\\$\\`\\\\")e"},
           {"/opt/中文/é", "/opt/中文/é"},
       }) {
    XdgAutostart autostart(config);
    ASSERT_TRUE(autostart.add("quorvane", c.path)) << c.path;
    auto keys = desktopEntry(slurp(dir + "/quorvane.desktop"));
    EXPECT_EQ(keys["Exec"], c.exec) << c.path;
    auto unescaped = unescapeString(keys["Exec"]);
    ASSERT_TRUE(unescaped) << keys["Exec"];
    EXPECT_EQ(execArguments(*unescaped), std::vector<std::string>{c.path}) << keys["Exec"];
    // The file a desktop checks before it starts the entry: the same program.
    EXPECT_EQ(unescapeString(keys["TryExec"]), c.path) << keys["TryExec"];
  }
}

TEST_F(XdgAutostartTest, RefusesWhatAnEntryCannotHold) {
  XdgAutostart autostart(config);
  for (const char* path : {"", "/opt/bell\a", "/opt/\xff\xfe", "/opt/del\x7f"})
    EXPECT_FALSE(autostart.add("quorvane", path)) << path;
  for (const char* name : {"", ".", "..", "a/b", "../escape"})
    EXPECT_FALSE(autostart.add(name, "/usr/bin/quorvane")) << name;
  EXPECT_FALSE(
      QFileInfo::exists(QString::fromStdString(tmp.path().toStdString() + "/escape.desktop")));
  EXPECT_TRUE(dirEntries().empty());
}

TEST_F(XdgAutostartTest, AddTwiceRewritesRemoveTwiceIsSilent) {
  XdgAutostart autostart(config);
  ASSERT_TRUE(autostart.add("quorvane", "/usr/bin/quorvane"));
  std::string first = slurp(dir + "/quorvane.desktop");
  ASSERT_TRUE(autostart.add("quorvane", "/usr/bin/quorvane"));
  EXPECT_EQ(slurp(dir + "/quorvane.desktop"), first);
  EXPECT_EQ(dirEntries(), std::vector<std::string>{"quorvane.desktop"});

  EXPECT_TRUE(autostart.remove("quorvane"));
  EXPECT_TRUE(dirEntries().empty());
  EXPECT_TRUE(autostart.remove("quorvane"));
  EXPECT_TRUE(XdgAutostart(tmp.path().toStdString() + "/nowhere").remove("quorvane"));
}

TEST_F(XdgAutostartTest, AFailedWriteLeavesNothingBehind) {
  // A folder where the entry should go: the rename fails after the
  // temporary file was written.
  QDir().mkpath(QString::fromStdString(dir + "/quorvane.desktop/inner"));
  XdgAutostart autostart(config);
  EXPECT_FALSE(autostart.add("quorvane", "/usr/bin/quorvane"));
  EXPECT_EQ(dirEntries(), std::vector<std::string>{"quorvane.desktop"});
  EXPECT_FALSE(autostart.remove("quorvane"));  // exists and cannot be removed
  EXPECT_TRUE(QFileInfo(QString::fromStdString(dir + "/quorvane.desktop/inner")).isDir());

  // A file where the config folder should be.
  std::string blocked = tmp.path().toStdString() + "/blocked";
  QFile f(QString::fromStdString(blocked));
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.close();
  EXPECT_FALSE(XdgAutostart(blocked).add("quorvane", "/usr/bin/quorvane"));
}

TEST_F(XdgAutostartTest, AnUnwritableFolderFailsAndLeavesNoTemporaryFile) {
  QDir().mkpath(QString::fromStdString(dir));
  ASSERT_EQ(::chmod(dir.c_str(), 0555), 0);
  if (::access(dir.c_str(), W_OK) == 0) {
    ::chmod(dir.c_str(), 0700);
    GTEST_SKIP() << "permissions are not enforced for this user (root?); the failed-rename "
                    "case covers the clean-up";
  }
  EXPECT_FALSE(XdgAutostart(config).add("quorvane", "/usr/bin/quorvane"));
  EXPECT_TRUE(dirEntries().empty());
  ::chmod(dir.c_str(), 0700);
}

TEST(ConfigHome, FollowsXdgConfigHomeElseHome) {
  struct Case {
    const char* xdg;  // nullptr: unset
    const char* home;
    std::string expected;
  };
  for (const Case& c : {
           Case{"/x/cfg", "/h", "/x/cfg"},
           {nullptr, "/h", "/h/.config"},
           {"", "/h", "/h/.config"},
           {"relative/cfg", "/h/", "/h/.config"},
       }) {
    if (c.xdg)
      ::setenv("XDG_CONFIG_HOME", c.xdg, 1);
    else
      ::unsetenv("XDG_CONFIG_HOME");
    ::setenv("HOME", c.home, 1);
    EXPECT_EQ(configHome(), c.expected) << (c.xdg ? c.xdg : "(unset)");
    EXPECT_EQ(IniSettings::defaultPath(), c.expected + "/quorvane/settings.ini");
  }
  ::unsetenv("HOME");  // falls back to the password database
  ::unsetenv("XDG_CONFIG_HOME");
  std::string home = configHome();
  EXPECT_EQ(home.rfind('/', 0), 0u) << home;
  EXPECT_EQ(home.substr(home.size() - 8), "/.config");
}

TEST(ConfigHome, TheDefaultAutostartFolderIsUnderIt) {
  QTemporaryDir tmp;
  ::setenv("XDG_CONFIG_HOME", tmp.path().toUtf8().constData(), 1);
  ASSERT_TRUE(XdgAutostart().add("quorvane", "/usr/bin/quorvane"));
  EXPECT_TRUE(QFileInfo::exists(tmp.path() + "/autostart/quorvane.desktop"));
}

TEST(Self, ExecutablePathIsTheRealPathOfThisProgram) {
  std::string path = executablePath();
  ASSERT_FALSE(path.empty());
  EXPECT_EQ(path[0], '/');
  EXPECT_EQ(path.substr(path.find_last_of('/') + 1), "platform_tests");
  struct stat mine {
  }, found{};
  ASSERT_EQ(::stat("/proc/self/exe", &mine), 0);
  ASSERT_EQ(::lstat(path.c_str(), &found), 0);
  EXPECT_TRUE(S_ISREG(found.st_mode));  // no link left to resolve
  EXPECT_EQ(found.st_ino, mine.st_ino);
  EXPECT_EQ(found.st_dev, mine.st_dev);
}

}  // namespace
}  // namespace qv::lnx
