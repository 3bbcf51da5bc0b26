#include "platform/win32/run_key_autostart.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace qv::win {
namespace {

TEST(RunCommand, ThePathAsTheSystemStartsIt) {
  struct Case {
    std::string path;
    std::optional<std::wstring> line;
  };
  const Case cases[] = {
      {"D:/Tools/mon.exe", L"D:\\Tools\\mon.exe"},
      {"D:\\mon.exe", L"D:\\mon.exe"},
      // Split at the space otherwise: "C:\Program" would be started.
      {"C:/Program Files/Quorvane/quorvane.exe", L"\"C:\\Program Files\\Quorvane\\quorvane.exe\""},
      {"C:/工具/监控.exe", L"C:\\工具\\监控.exe"},
      {"", std::nullopt},
      {"C:/a\"b.exe", std::nullopt},
      {"C:/\xff.exe", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(runCommand(c.path), c.line) << c.path;
}

class RunKeyTest : public ::testing::Test {
 protected:
  std::wstring key = L"Software\\Quorvane tests\\run " + std::to_wstring(GetCurrentProcessId());
  void TearDown() override { RegDeleteTreeW(HKEY_CURRENT_USER, key.c_str()); }

  std::optional<std::wstring> value(const wchar_t* name) {
    wchar_t data[512] = {};
    DWORD type = 0, bytes = sizeof data;
    if (RegGetValueW(HKEY_CURRENT_USER, key.c_str(), name, RRF_RT_ANY, &type, data, &bytes))
      return std::nullopt;
    if (type != REG_SZ) return L"<not a string>";
    return std::wstring(data);
  }
};

TEST_F(RunKeyTest, AddWritesTheValueAndRemoveTakesItAway) {
  RunKeyAutostart autostart(key);
  // Nothing there yet: removing is no failure.
  EXPECT_TRUE(autostart.remove("quorvane"));
  ASSERT_TRUE(autostart.add("quorvane", "C:/Program Files/Q/quorvane.exe"));
  EXPECT_EQ(value(L"quorvane"), L"\"C:\\Program Files\\Q\\quorvane.exe\"");
  // Added twice: rewritten with the same data.
  ASSERT_TRUE(autostart.add("quorvane", "D:/Tools/quorvane.exe"));
  EXPECT_EQ(value(L"quorvane"), L"D:\\Tools\\quorvane.exe");
  EXPECT_TRUE(autostart.remove("quorvane"));
  EXPECT_EQ(value(L"quorvane"), std::nullopt);
  EXPECT_TRUE(autostart.remove("quorvane"));
}

}  // namespace
}  // namespace qv::win
