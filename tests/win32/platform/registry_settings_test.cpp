#include "platform/win32/registry_settings.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

namespace qv::win {
namespace {

using namespace std::string_literals;

// A key of the test's own below HKEY_CURRENT_USER, removed afterwards.
class RegistrySettingsTest : public ::testing::Test {
 protected:
  std::wstring root =
      L"Software\\Quorvane tests\\settings " + std::to_wstring(GetCurrentProcessId());
  void TearDown() override { RegDeleteTreeW(HKEY_CURRENT_USER, root.c_str()); }

  // The value as the registry holds it, read without the store.
  std::pair<DWORD, std::wstring> raw(const std::wstring& sub, const std::wstring& name) {
    HKEY k = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, (root + L"\\" + sub).c_str(), 0, KEY_QUERY_VALUE, &k))
      return {0, L"<no key>"};
    wchar_t data[256] = {};
    DWORD type = 0, bytes = sizeof data;
    LONG rc =
        RegQueryValueExW(k, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data), &bytes);
    RegCloseKey(k);
    if (rc) return {0, L"<no value>"};
    return {type, std::wstring(data, bytes / sizeof(wchar_t))};
  }
  void putDword(const std::wstring& sub, const std::wstring& name) {
    HKEY k = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, (root + L"\\" + sub).c_str(), 0, nullptr, 0,
                              KEY_SET_VALUE, nullptr, &k, nullptr),
              ERROR_SUCCESS);
    DWORD v = 7;
    RegSetValueExW(k, name.c_str(), 0, REG_DWORD, reinterpret_cast<BYTE*>(&v), sizeof v);
    RegCloseKey(k);
  }
};

TEST_F(RegistrySettingsTest, ValuesReadBackExactlyFromAFreshStore) {
  const std::vector<std::string> values = {"",
                                           " ",
                                           "  lead and trail  ",
                                           "请输入提醒内容!",
                                           "中文 报警\t制表",
                                           "line1\r\nline2",
                                           "nul\0inside"s,
                                           "😀 outside the BMP",
                                           "%APPDATA% stays as written",
                                           std::string(20000, 'v')};
  RegistrySettings store(root);
  for (std::size_t i = 0; i < values.size(); ++i)
    ASSERT_TRUE(store.write("MyApp", "Startup", "Form1.Combo" + std::to_string(i), values[i]));
  ASSERT_TRUE(store.write("中文程序", "节", "键", "值"));
  ASSERT_TRUE(store.write("a", "a", "status", "1"));

  RegistrySettings reader(root);
  for (std::size_t i = 0; i < values.size(); ++i)
    EXPECT_EQ(reader.read("MyApp", "Startup", "Form1.Combo" + std::to_string(i)), values[i]) << i;
  EXPECT_EQ(reader.read("中文程序", "节", "键"), "值");
  EXPECT_EQ(reader.read("a", "a", "status"), "1");
  // Overwritten in place.
  ASSERT_TRUE(reader.write("a", "a", "status", "0"));
  EXPECT_EQ(store.read("a", "a", "status"), "0");
}

TEST_F(RegistrySettingsTest, EachKeyIsAStringValueOfItsApplicationAndSection) {
  RegistrySettings store(root);
  ASSERT_TRUE(store.write("MyApp", "Startup", "Form1.Combo3", "请输入提醒内容!"));
  auto [type, data] = raw(L"MyApp\\Startup", L"Form1.Combo3");
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(data, std::wstring(L"请输入提醒内容!") + L'\0');
}

TEST_F(RegistrySettingsTest, MissingKeysSectionsAndApplicationsReadAsMissing) {
  RegistrySettings store(root);
  ASSERT_TRUE(store.write("MyApp", "Startup", "Form1.Combo1", "7"));
  EXPECT_EQ(store.read("MyApp", "Startup", "Form1.Combo2"), std::nullopt);
  EXPECT_EQ(store.read("MyApp", "Other", "Form1.Combo1"), std::nullopt);
  EXPECT_EQ(store.read("b", "b", "status"), std::nullopt);
}

TEST_F(RegistrySettingsTest, WhatTheRegistryCannotHoldIsRefusedAndChangesNothing) {
  RegistrySettings store(root);
  ASSERT_TRUE(store.write("MyApp", "Startup", "k", "kept"));
  struct Case {
    const char* what;
    std::string app, section, key, value;
  };
  EXPECT_FALSE(store.write("MyApp", "Startup", "k", "bad \xff byte")) << "a value not UTF-8";
  const std::vector<Case> cases = {
      {"a key that is not UTF-8", "MyApp", "Startup", "\xc3", "v"},
      {"a section that reaches into another key", "MyApp", "Startup\\k", "k", "v"},
      {"an application that reaches into another key", "MyApp\\Startup", "x", "k", "v"},
      {"an empty application", "", "Startup", "k", "v"},
      {"an empty section", "MyApp", "", "k", "v"},
      {"a key name too long for the registry", std::string(300, 'a'), "s", "k", "v"},
  };
  for (const Case& c : cases) {
    EXPECT_FALSE(store.write(c.app, c.section, c.key, c.value)) << c.what;
    EXPECT_EQ(store.read(c.app, c.section, c.key), std::nullopt) << c.what;
  }
  EXPECT_EQ(store.read("MyApp", "Startup", "k"), "kept");
  EXPECT_EQ(raw(L"MyApp\\Startup\\k", L"k").second, L"<no key>");
}

TEST_F(RegistrySettingsTest, AValueOfAnotherTypeReadsAsMissing) {
  putDword(L"MyApp\\Startup", L"Form1.Combo9");
  RegistrySettings store(root);
  EXPECT_EQ(store.read("MyApp", "Startup", "Form1.Combo9"), std::nullopt);
  // A write replaces it with a string.
  ASSERT_TRUE(store.write("MyApp", "Startup", "Form1.Combo9", "00"));
  EXPECT_EQ(store.read("MyApp", "Startup", "Form1.Combo9"), "00");
}

TEST(RegistrySettingsPlace, TheStoreLivesUnderTheUsersProgramSettings) {
  const std::string app = "quorvane-test-" + std::to_string(GetCurrentProcessId());
  RegistrySettings store;
  ASSERT_TRUE(store.write(app, "Startup", "k", "中"));
  const std::wstring key =
      L"Software\\VB and VBA Program Settings\\" + std::wstring(app.begin(), app.end());
  HKEY k = nullptr;
  EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, (key + L"\\Startup").c_str(), 0, KEY_QUERY_VALUE, &k),
            ERROR_SUCCESS);
  if (k) RegCloseKey(k);
  RegDeleteTreeW(HKEY_CURRENT_USER, key.c_str());
}

}  // namespace
}  // namespace qv::win
