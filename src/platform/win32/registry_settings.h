#pragma once
#include <string>

#include "platform/settings_backend.h"

namespace qv::win {

// The settings store in the user's part of the registry, where Windows
// programs of this kind have always kept theirs:
//   HKEY_CURRENT_USER\Software\VB and VBA Program Settings\<application>\<section>
// with one REG_SZ value per key. Texts are stored as UTF-16, so Chinese reads
// back exactly whatever the system's code page.
//
// An application or section name the registry cannot hold as one key (empty,
// or with a backslash, which would reach into another key) and text that is
// not valid UTF-8 are refused: reads give nullopt and writes false. A value of
// another type than a string reads as missing. Each write reaches the
// registry at once, one value at a time.
class RegistrySettings : public SettingsBackend {
 public:
  // `root` below HKEY_CURRENT_USER; tests give one of their own.
  explicit RegistrySettings(std::wstring root = L"Software\\VB and VBA Program Settings");

  std::optional<std::string> read(std::string_view app, std::string_view section,
                                  std::string_view key) override;
  bool write(std::string_view app, std::string_view section, std::string_view key,
             std::string_view value) override;

 private:
  std::optional<std::wstring> keyPath(std::string_view app, std::string_view section) const;

  std::wstring root_;
};

}  // namespace qv::win
