#include "platform/win32/registry_settings.h"

#include <windows.h>

#include <utility>
#include <vector>

#include "platform/win32/wide_text.h"

namespace qv::win {
namespace {

bool oneKeyName(const std::wstring& name) {
  return !name.empty() && name.find(L'\\') == std::wstring::npos;
}

struct Key {
  HKEY h = nullptr;
  ~Key() {
    if (h) RegCloseKey(h);
  }
};

}  // namespace

RegistrySettings::RegistrySettings(std::wstring root) : root_(std::move(root)) {}

std::optional<std::wstring> RegistrySettings::keyPath(std::string_view app,
                                                      std::string_view section) const {
  auto a = wide(app);
  auto s = wide(section);
  if (!a || !s || !oneKeyName(*a) || !oneKeyName(*s)) return std::nullopt;
  return root_ + L"\\" + *a + L"\\" + *s;
}

std::optional<std::string> RegistrySettings::read(std::string_view app, std::string_view section,
                                                  std::string_view key) {
  auto path = keyPath(app, section);
  auto name = wide(key);
  if (!path || !name) return std::nullopt;
  Key k;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, path->c_str(), 0, KEY_QUERY_VALUE, &k.h) != ERROR_SUCCESS)
    return std::nullopt;
  // The size is asked first; a value that grows in between is asked again.
  for (int attempt = 0; attempt < 3; ++attempt) {
    DWORD type = 0, bytes = 0;
    LONG rc = RegQueryValueExW(k.h, name->c_str(), nullptr, &type, nullptr, &bytes);
    if (rc != ERROR_SUCCESS || type != REG_SZ) return std::nullopt;
    std::vector<wchar_t> data(bytes / sizeof(wchar_t) + 1, L'\0');
    DWORD got = static_cast<DWORD>(data.size() * sizeof(wchar_t));
    rc = RegQueryValueExW(k.h, name->c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()),
                          &got);
    if (rc == ERROR_MORE_DATA) continue;
    if (rc != ERROR_SUCCESS || type != REG_SZ) return std::nullopt;
    std::wstring_view text(data.data(), got / sizeof(wchar_t));
    // Stored with its terminating zero; one written by another program may
    // lack it. Zeros inside the text are part of it.
    if (!text.empty() && text.back() == L'\0') text.remove_suffix(1);
    return narrow(text);
  }
  return std::nullopt;
}

bool RegistrySettings::write(std::string_view app, std::string_view section, std::string_view key,
                             std::string_view value) {
  auto path = keyPath(app, section);
  auto name = wide(key);
  auto text = wide(value);
  if (!path || !name || !text) return false;
  Key k;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, path->c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                      KEY_SET_VALUE, nullptr, &k.h, nullptr) != ERROR_SUCCESS)
    return false;
  const auto bytes = static_cast<DWORD>((text->size() + 1) * sizeof(wchar_t));
  return RegSetValueExW(k.h, name->c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text->c_str()),
                        bytes) == ERROR_SUCCESS;
}

}  // namespace qv::win
