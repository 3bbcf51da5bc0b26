#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/linux/desktop_entry.h"
#include "platform/linux/desktop_tool_table.h"
#include "platform/linux/desktop_tools.h"
#include "platform/linux/xdg_autostart.h"
#include "sysfs_tree.h"
#include "test_files.h"
#include "test_processes.h"

namespace qv::lnx {
namespace {

using sysfs_test::SysfsTree;
using testenv::ScopedEnv;

constexpr const char* kPower = "Rundll32.exe Shell32.dll,Control_RunDLL powercfg.cpl";
constexpr const char* kDateTime = "Rundll32.exe Shell32.dll,Control_RunDLL Timedate.cpl";
constexpr const char* kSystem = "Rundll32.exe Shell32.dll,Control_RunDLL sysdm.cpl";

std::string app(const std::string& exec, const std::string& more = {}) {
  return "[Desktop Entry]\nType=Application\nName=Tool\nExec=" + exec + "\n" + more;
}

// Data dirs home, a and b (in that order), programs in bin, and a record of
// what would have been started.
class Machine {
 public:
  void entry(const std::string& dataDir, const std::string& relative, const std::string& text) {
    tree_.file(dataDir + "/applications/" + relative, text);
  }
  void program(const std::string& name, const std::string& text = "#!/bin/sh\n") {
    tree_.file("bin/" + name, text);
    ::chmod(bin(name).c_str(), 0755);
  }
  std::string root() const { return tree_.root().string(); }
  std::string bin(const std::string& name) const { return root() + "/bin/" + name; }

  DesktopToolsOptions options(std::vector<std::string> desktops = {}) {
    DesktopToolsOptions o;
    o.dataDirs = {root() + "/home", root() + "/a", root() + "/b"};
    o.searchPath = root() + "/nothing:" + root() + "/bin";
    o.desktops = std::move(desktops);
    o.locale = "zh_CN.UTF-8";
    o.dryRun = false;
    o.spawn = [this](const Argv& argv) {
      started.push_back(argv);
      return true;
    };
    return o;
  }

  // What `launch` started, one argument vector or none.
  std::optional<Argv> launch(const std::string& line, int style,
                             std::vector<std::string> desktops = {}) {
    started.clear();
    DesktopTools tools(options(std::move(desktops)));
    const bool ok = tools.launch(line, style);
    EXPECT_EQ(ok, started.size() == 1);
    if (started.size() != 1) return std::nullopt;
    return started.front();
  }

  std::vector<Argv> started;

 private:
  SysfsTree tree_;
};

TEST(DesktopTools, StartsTheFirstInstalledToolThatFitsTheDesktop) {
  struct Case {
    const char* what;
    std::string line;
    int style;
    std::vector<std::string> desktops;
    std::map<std::string, std::string> entries;  // "dir/file" -> Exec, or a whole entry
    std::vector<std::string> programs;
    Argv expected;  // argv[0] relative to bin; empty: nothing is started
  };
  const std::string gnomePower = app("gnome-control-center power", "OnlyShowIn=GNOME;Unity;\n");
  const std::string kdePower = app("systemsettings kcm_powerdevilprofilesconfig");
  const std::string xfcePower = app("xfce4-power-manager-settings");
  const std::vector<std::string> powerTools = {"gnome-control-center", "systemsettings",
                                               "xfce4-power-manager-settings"};
  const Case cases[] = {
      {"earlier in the list wins",
       "calc",
       2,
       {},
       {{"a/galculator.desktop", app("galculator")},
        {"b/org.gnome.Calculator.desktop", app("gnome-calculator")}},
       {"galculator", "gnome-calculator"},
       {"gnome-calculator"}},
      {"a tool whose program is missing is skipped",
       "calc",
       2,
       {},
       {{"a/org.gnome.Calculator.desktop", app("gnome-calculator")},
        {"a/galculator.desktop", app("galculator")}},
       {"galculator"},
       {"galculator"}},
      {"an X toolkit program is asked to start minimized",
       "calc",
       2,
       {},
       {},
       {"xcalc"},
       {"xcalc", "-iconic"}},
      {"and not when a normal window is wanted", "calc", 1, {}, {}, {"xcalc"}, {"xcalc"}},
      {"a plain command with arguments",
       "taskmgr.exe",
       1,
       {},
       {},
       {"xterm"},
       {"xterm", "-e", "top"}},
      {"a dash of the id may be a subfolder",
       "calc",
       2,
       {},
       {{"a/mate/calc.desktop", app("mate-calc")}},
       {"mate-calc"},
       {"mate-calc"}},
      {"GNOME's panel on GNOME",
       kPower,
       2,
       {"ubuntu", "GNOME"},
       {{"a/gnome-power-panel.desktop", gnomePower},
        {"a/kcm_powerdevilprofilesconfig.desktop", kdePower},
        {"a/xfce4-power-manager-settings.desktop", xfcePower}},
       powerTools,
       {"gnome-control-center", "power"}},
      {"on Xfce the panels of GNOME and KDE give way",
       kPower,
       2,
       {"XFCE"},
       {{"a/gnome-power-panel.desktop", gnomePower},
        {"a/kcm_powerdevilprofilesconfig.desktop", kdePower},
        {"a/xfce4-power-manager-settings.desktop", xfcePower}},
       powerTools,
       {"xfce4-power-manager-settings"}},
      {"KDE's module on KDE",
       kPower,
       2,
       {"KDE"},
       {{"a/gnome-power-panel.desktop", gnomePower},
        {"a/kcm_powerdevilprofilesconfig.desktop", kdePower},
        {"a/xfce4-power-manager-settings.desktop", xfcePower}},
       powerTools,
       {"systemsettings", "kcm_powerdevilprofilesconfig"}},
      {"another desktop's tool is better than none",
       kPower,
       2,
       {"LXQt"},
       {{"a/gnome-power-panel.desktop", gnomePower}},
       powerTools,
       {"gnome-control-center", "power"}},
      {"NotShowIn turns a tool away",
       "calc",
       2,
       {"KDE"},
       {{"a/org.gnome.Calculator.desktop", app("gnome-calculator", "NotShowIn=KDE;\n")},
        {"a/org.kde.kcalc.desktop", app("kcalc")}},
       {"gnome-calculator", "kcalc"},
       {"kcalc"}},
      {"a command candidate",
       kDateTime,
       2,
       {"KDE"},
       {},
       {"systemsettings"},
       {"systemsettings", "kcm_clock"}},
      {"nothing installed", kPower, 2, {"GNOME"}, {}, powerTools, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Machine m;
    for (const auto& [file, text] : c.entries) {
      const auto slash = file.find('/');
      m.entry(file.substr(0, slash), file.substr(slash + 1), text);
    }
    for (const auto& p : c.programs) m.program(p);
    Argv expected = c.expected;
    if (!expected.empty()) expected.front() = m.bin(expected.front());
    const auto started = m.launch(c.line, c.style, c.desktops);
    EXPECT_EQ(started.value_or(Argv{}), expected);
  }
}

TEST(DesktopTools, TheFirstDataDirWithAnIdDecidesForIt) {
  // The user's data home goes before the system's dirs, and an entry there
  // that may not be used hides the system's one of the same id.
  const std::string calculator = "org.gnome.Calculator.desktop";
  const struct {
    const char* what;
    std::string homeEntry;
    std::string expected;
  } cases[] = {
      {"a usable entry at home wins", app("gnome-calculator --from-home"), "gnome-calculator"},
      {"Hidden", app("gnome-calculator", "Hidden=true\n"), "galculator"},
      {"TryExec names no program", app("gnome-calculator", "TryExec=no-such-program\n"),
       "galculator"},
      {"the program is missing", app("no-such-program"), "galculator"},
      {"a terminal program", app("gnome-calculator", "Terminal=true\n"), "galculator"},
      {"not an application", "[Desktop Entry]\nType=Link\nURL=file:///\n", "galculator"},
      {"Exec with an open quote", app("\"gnome-calculator"), "galculator"},
      {"no Desktop Entry group", "[Desktop Action x]\nExec=gnome-calculator\n", "galculator"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Machine m;
    m.program("gnome-calculator");
    m.program("galculator");
    m.entry("home", calculator, c.homeEntry);
    m.entry("b", calculator, app("gnome-calculator --from-system"));
    m.entry("b", "galculator.desktop", app("galculator"));
    ScopedEnv home("XDG_DATA_HOME", m.root() + "/home");
    ScopedEnv dataDirs("XDG_DATA_DIRS", "relative/dir:" + m.root() + "/b");
    DesktopToolsOptions options = m.options();
    options.dataDirs = xdgDataDirs();
    ASSERT_EQ(options.dataDirs, (std::vector<std::string>{m.root() + "/home", m.root() + "/b"}));
    const auto argv = DesktopTools(options).resolve("calc", 1);
    ASSERT_TRUE(argv);
    EXPECT_EQ(argv->front(), m.bin(c.expected));
    if (c.expected == "gnome-calculator") {
      EXPECT_EQ(argv->back(), "--from-home");
    }
  }
}

TEST(DesktopTools, DataDirsDefaultAsTheBaseDirectoryRulesSay) {
  ScopedEnv home("HOME", "/home/someone");
  {
    ScopedEnv dataHome("XDG_DATA_HOME", std::nullopt);
    ScopedEnv dataDirs("XDG_DATA_DIRS", std::nullopt);
    EXPECT_EQ(xdgDataDirs(), (std::vector<std::string>{"/home/someone/.local/share",
                                                       "/usr/local/share", "/usr/share"}));
  }
  ScopedEnv dataHome("XDG_DATA_HOME", "relative");
  ScopedEnv dataDirs("XDG_DATA_DIRS", "/opt/share::/x");
  EXPECT_EQ(xdgDataDirs(),
            (std::vector<std::string>{"/home/someone/.local/share", "/opt/share", "/x"}));
}

TEST(DesktopTools, RefusesUnknownLinesAndStartsNothingInADryRun) {
  Machine m;
  m.program("gnome-calculator");
  m.entry("a", "org.gnome.Calculator.desktop", app("gnome-calculator"));
  for (const std::string line :
       {"notepad.exe", "CALC", "calc ", " calc", "calc.exe", "", "shutdown -s -f -t 0"}) {
    SCOPED_TRACE(line);
    testing::internal::CaptureStderr();
    EXPECT_FALSE(m.launch(line, 2));
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
  }

  ScopedEnv dry("QUORVANE_DRY_RUN", "1");
  DesktopToolsOptions options = m.options();
  options.dryRun = DesktopToolsOptions().dryRun;
  testing::internal::CaptureStderr();
  EXPECT_TRUE(DesktopTools(options).launch("calc", 2));
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_TRUE(m.started.empty());
  EXPECT_NE(err.find("dry run"), std::string::npos) << err;
  EXPECT_NE(err.find(m.bin("gnome-calculator")), std::string::npos) << err;
}

TEST(DesktopTools, EveryLineOfTheProgramHasTools) {
  const std::vector<std::string> lines = DesktopTools::commandLines();
  EXPECT_EQ(lines, (std::vector<std::string>{
                       kPower,
                       "Rundll32.exe Shell32.dll,Control_RunDLL inetcpl.cpl",
                       kDateTime,
                       "taskmgr.exe",
                       "Rundll32.exe Shell32.dll,Control_RunDLL sysdm.cpl",
                       "Rundll32.exe Shell32.dll,Control_RunDLL appwiz.cpl",
                       "calc",
                   }));
}

// Every desktop entry the table names is one that a Debian 12 package ships,
// as scripts/desktop-tool-packages.py found in the packages' file lists; the
// list names nothing the table has dropped.
TEST(DesktopTools, EveryEntryOfTheTableIsOneADebianPackageShips) {
  std::set<std::string> named;
  for (const auto& tool : tools::kTools)
    for (const auto& candidate : tool.candidates)
      if (candidate.name.ends_with(".desktop")) named.emplace(candidate.name);
  std::ifstream list(std::string(QUORVANE_TEST_DATA) + "/desktop-tools/debian12.txt");
  ASSERT_TRUE(list) << "run scripts/desktop-tool-packages.py";
  std::set<std::string> shipped;
  for (std::string line; std::getline(list, line);)
    if (!line.empty() && line.front() != '#') shipped.insert(line.substr(0, line.find(' ')));
  EXPECT_EQ(named, shipped);
}

// Some desktops have no such tool of their own; nothing installed to stand
// in, the line says so rather than only that nothing is installed.
TEST(DesktopTools, ADesktopWithoutAToolOfItsOwnSaysSo) {
  const struct {
    std::string line;
    std::string desktop;
    const char* said;
  } cases[] = {
      {kDateTime, "XFCE", "XFCE has no date and time settings of its own"},
      {kDateTime, "MATE", "MATE has no date and time settings of its own"},
      {kSystem, "MATE", "MATE has no system information of its own"},
      {kSystem, "LXQt", "LXQt has no system information of its own"},
      {kDateTime, "GNOME", "no tool for"},
      {kSystem, "XFCE", "no tool for"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.desktop + " " + c.line);
    Machine m;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(m.launch(c.line, 2, {c.desktop}));
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find(c.said), std::string::npos) << err;
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
  }
  // Another desktop's tool stands in where one is installed.
  Machine m;
  m.program("hardinfo");
  m.entry("a", "hardinfo.desktop", app("hardinfo"));
  EXPECT_EQ(m.launch(kSystem, 2, {"LXQt"}), Argv{m.bin("hardinfo")});
}

TEST(DesktopEntry, ExecSplitsIntoArgumentsAsTheRulesSay) {
  const ExecFields fields{"计算器", "accessories-calculator", "/usr/share/applications/c.desktop"};
  const struct {
    std::string exec;  // after the string escapes
    std::optional<Argv> argv;
  } cases[] = {
      {"gnome-control-center power", Argv{"gnome-control-center", "power"}},
      {"  app   two  spaces ", Argv{"app", "two", "spaces"}},
      {"app %U", Argv{"app"}},
      {"app %f %F %u %d %D %n %N %v %m x", Argv{"app", "x"}},
      {"app --file=%f", Argv{"app", "--file="}},
      {"app 100%% %%", Argv{"app", "100%", "%"}},
      {"app %i", Argv{"app", "--icon", "accessories-calculator"}},
      {"app -qwindowtitle %c %k", Argv{"app", "-qwindowtitle", "计算器", fields.file}},
      {R"("/opt/My App/run" "a \"b\" \`c\` \$d \\e \x")",
       Argv{"/opt/My App/run", R"(a "b" `c` $d \e \x)"}},
      {R"(app "" x)", Argv{"app", "", "x"}},
      {R"(app a"b c"d)", Argv{"app", "ab cd"}},
      {R"(app $HOME;rm * `id` 'q')", Argv{"app", "$HOME;rm", "*", "`id`", "'q'"}},
      {R"(app "open)", std::nullopt},
      {"", std::nullopt},
      {"%U", std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.exec);
    EXPECT_EQ(splitExec(c.exec, fields), c.argv);
  }
}

TEST(DesktopEntry, ExecIsUnescapedAsAStringBeforeItIsUnquoted) {
  // Four backslashes in the file are one in the argument; \s is a space.
  const auto entry = parseDesktopEntry(
      "# comment\n[Desktop Entry]\r\nName = Calc\nName[zh]=计算器\n"
      "Exec = app \"a\\\\\\\\b\" c\\sd %c\nOnlyShowIn=GNOME;X\\;Y;\n"
      "[Desktop Action new]\nExec=other\nName=Other\n");
  ASSERT_TRUE(entry);
  EXPECT_EQ(entry->onlyShowIn, (std::vector<std::string>{"GNOME", "X;Y"}));
  EXPECT_EQ(localizedName(*entry, "zh_CN.UTF-8"), "计算器");
  EXPECT_EQ(localizedName(*entry, "de_DE"), "Calc");
  EXPECT_EQ(splitExec(entry->exec, {localizedName(*entry, "zh_TW"), "", ""}),
            (Argv{"app", "a\\b", "c", "d", "计算器"}));

  // What the autostart entry writes reads back as the same one program.
  for (const std::string path : {"/usr/bin/quorvane", "/opt/a b/q\"uo`te$\\x%y", "/tmp/ü 100%"}) {
    SCOPED_TRACE(path);
    const auto exec = execValue(path);
    ASSERT_TRUE(exec);
    const auto written = parseDesktopEntry("[Desktop Entry]\nExec=" + *exec + "\n");
    ASSERT_TRUE(written);
    EXPECT_EQ(splitExec(written->exec), Argv{path});
  }
}

// Stands in for a tool: writes down how it was started, then waits.
constexpr const char* kStandIn = R"(#!/usr/bin/python3
import json, os, sys, time
record = os.path.join(os.path.dirname(sys.argv[0]), 'record.json')
seen = {'argv': sys.argv, 'pid': os.getpid(), 'ppid': os.getppid(), 'sid': os.getsid(0),
        'fds': sorted(int(fd) for fd in os.listdir('/proc/self/fd')),
        'stdin': os.readlink('/proc/self/fd/0')}
with open(record + '.new', 'w') as out:
    json.dump(seen, out)
os.rename(record + '.new', record)
time.sleep(30)
)";

bool gone(pid_t pid) {
  return !std::filesystem::exists("/proc/" + std::to_string(pid));
}

TEST(DesktopTools, StartsTheToolItselfWithoutAShellAndReapsIt) {
  if (!testenv::havePython()) GTEST_SKIP() << "the stand-in needs /usr/bin/python3";
  Machine m;
  m.program("galculator", kStandIn);
  // Text a shell would expand, run or split differently.
  m.entry("a", "galculator.desktop", app(R"(galculator "two words" $(touch pwned) ;&| * %U)"));
  DesktopToolsOptions options = m.options();
  options.spawn = nullptr;  // the real thing
  DesktopTools tools(options);

  // A descriptor without close-on-exec must not reach the tool.
  const int leaked = ::dup2(STDERR_FILENO, 57);
  ASSERT_EQ(leaked, 57);
  const auto before = std::chrono::steady_clock::now();
  ASSERT_TRUE(tools.launch("calc", 2));
  EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::seconds(1));
  ::close(leaked);

  const std::string record = m.root() + "/bin/record.json";
  for (int i = 0; i < 200 && !std::filesystem::exists(record); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(25));
  }
  const QJsonObject seen =
      QJsonDocument::fromJson(QByteArray::fromStdString(slurp(record))).object();
  ASSERT_FALSE(seen.isEmpty()) << "the stand-in did not run";
  Argv argv;
  for (const auto& a : seen["argv"].toArray()) argv.push_back(a.toString().toStdString());
  EXPECT_EQ(argv, (Argv{m.bin("galculator"), "two words", "$(touch", "pwned)", ";&|", "*"}));
  const pid_t pid = seen["pid"].toInt();
  EXPECT_EQ(seen["ppid"].toInt(), ::getpid()) << "something stood between us and the tool";
  EXPECT_EQ(seen["sid"].toInt(), pid) << "the tool shares our session";
  EXPECT_EQ(seen["stdin"].toString(), "/dev/null");
  EXPECT_FALSE(seen["fds"].toArray().contains(57)) << "a descriptor of ours leaked";

  // Once it ends it is reaped: no zombie is left behind.
  ASSERT_GT(pid, 1);
  ::kill(pid, SIGTERM);
  for (int i = 0; i < 200 && !gone(pid); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(25));
  }
  EXPECT_TRUE(gone(pid)) << slurp("/proc/" + std::to_string(pid) + "/stat");

  // A program that cannot be executed is a failure, and leaves no child.
  m.program("galculator", "#!/no/such/interpreter\n");
  testing::internal::CaptureStderr();
  EXPECT_FALSE(tools.launch("calc", 2));
  EXPECT_NE(testing::internal::GetCapturedStderr().find("could not start"), std::string::npos);
  EXPECT_EQ(::waitpid(-1, nullptr, WNOHANG), -1);
  EXPECT_EQ(errno, ECHILD);
}

}  // namespace
}  // namespace qv::lnx
