// The services that act on the machine. Started programs are a stand-in
// (show_state.exe); power, the display and the drive run in dry run only,
// which main() switches on and each test checks before it calls anything.

#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <thread>

#include "platform/win32/dry_run.h"
#include "platform/win32/mci_media.h"
#include "platform/win32/monitor_power.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_power.h"
#include "platform/win32/win32_process.h"

namespace qv::win {
namespace {

std::string slurp(const std::wstring& path) {
  std::ifstream in{std::filesystem::path(path)};
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

std::string waitFor(const std::string& path) {
  for (int i = 0; i < 100; ++i) {
    std::ifstream in(path);
    std::string line;
    if (std::getline(in, line) && !line.empty()) return line;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  return "<nothing>";
}

// Dry run off for the life of the object: only for the stand-in.
class RealRun {
 public:
  RealRun() { _putenv_s("QUORVANE_DRY_RUN", ""); }
  ~RealRun() { _putenv_s("QUORVANE_DRY_RUN", "1"); }
};

std::string tempFile(const char* name) {
  char dir[MAX_PATH];
  GetTempPathA(MAX_PATH, dir);
  std::string path = std::string(dir) + name + std::to_string(GetCurrentProcessId()) + ".txt";
  std::remove(path.c_str());
  return path;
}

TEST(Win32Process, StartsTheLineInTheWindowStateAskedFor) {
  RealRun real;
  Win32Process process;
  struct Case {
    int style;
    const char* state;  // STARTF_USESHOWWINDOW and the show state
  };
  for (Case c : {Case{0, "1 0"}, Case{1, "1 1"}, Case{2, "1 2"}}) {
    const std::string out = tempFile("show-state-");
    ASSERT_EQ(process.run("\"" QUORVANE_SHOW_STATE "\" " + out, c.style), Started::yes);
    EXPECT_EQ(waitFor(out), c.state) << "window style " << c.style;
    std::remove(out.c_str());
  }
  EXPECT_EQ(process.run("\"" QUORVANE_SHOW_STATE "\" x", 7), Started::no)
      << "an unknown window style";
  EXPECT_EQ(process.run("", 1), Started::no);
  EXPECT_EQ(process.run("quorvane-no-such-program.exe", 1), Started::no);
}

// The lines name the system's own tools by bare names; a program of such a
// name beside this one or in the current folder must never be started.
TEST(Win32Process, ABareNameIsTheSystemFoldersProgramOnly) {
  const std::wstring system = L"C:\\windows\\system32";
  const struct {
    const wchar_t* line;
    std::optional<std::wstring> program;
  } cases[] = {
      {L"calc", system + L"\\calc.exe"},
      {L"shutdown -s -f -t 0", system + L"\\shutdown.exe"},
      {L"taskmgr.exe", system + L"\\taskmgr.exe"},
      {L"Rundll32.exe Shell32.dll,Control_RunDLL powercfg.cpl", system + L"\\Rundll32.exe"},
      {L"c:\\windows\\system32\\shutdown.exe /r /t 0", L"c:\\windows\\system32\\shutdown.exe"},
      {L"\"C:\\a b\\tool.exe\" x", L"C:\\a b\\tool.exe"},
      {L"", std::nullopt},
      {L"\"C:\\unclosed", std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(narrow(c.line));
    EXPECT_EQ(programOf(c.line, system), c.program);
  }

  // For real: a stand-in planted in the current folder under a bare name.
  RealRun real;
  const std::string planted = "quorvane-planted-" + std::to_string(GetCurrentProcessId()) + ".exe";
  ASSERT_TRUE(CopyFileA(QUORVANE_SHOW_STATE, planted.c_str(), FALSE));
  const std::string out = tempFile("planted-");
  EXPECT_EQ(Win32Process().run(planted.substr(0, planted.size() - 4) + " " + out, 1), Started::no);
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  EXPECT_FALSE(std::ifstream(out).good()) << "the planted program ran";
  DeleteFileA(planted.c_str());
}

TEST(Win32Process, DryRunLogsTheLineAndStartsNothing) {
  ASSERT_TRUE(dryRun());
  const std::string out = tempFile("dry-run-");
  const std::string line = "\"" QUORVANE_SHOW_STATE "\" " + out;
  EXPECT_EQ(Win32Process().run(line, 2), Started::yes);
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  EXPECT_EQ(std::ifstream(out).good(), false) << "the stand-in ran";
  EXPECT_NE(slurp(dryRunLogPath()).find("would run \"" + line + "\" (window style 2)"),
            std::string::npos);
}

TEST(Win32Process, ExecutablePathIsThisProgramWithForwardSlashes) {
  std::string path = Win32Process().executablePath();
  EXPECT_EQ(path.find('\\'), std::string::npos) << path;
  EXPECT_NE(path.find("/win32_platform_tests.exe"), std::string::npos) << path;
}

TEST(DryRun, PowerDisplayAndDriveAreOnlyLogged) {
  ASSERT_TRUE(dryRun()) << "refusing to call the power service without dry run";
  DeleteFileW(dryRunLogPath().c_str());
  Win32Power power;
  EXPECT_TRUE(power.suspend());
  EXPECT_TRUE(power.restartNow());
  EXPECT_TRUE(power.powerOff());
  EXPECT_TRUE(power.restart());
  EXPECT_TRUE(MonitorPower().displayOff());
  EXPECT_TRUE(MciMedia().send("set CDAudio door open"));
  EXPECT_EQ(slurp(dryRunLogPath()),
            "quorvane: dry run: would suspend\n"
            "quorvane: dry run: would restart at once\n"
            "quorvane: dry run: would power off\n"
            "quorvane: dry run: would restart\n"
            "quorvane: dry run: would switch the display off\n"
            "quorvane: dry run: would send the media command \"set CDAudio door open\"\n");
}

}  // namespace
}  // namespace qv::win
