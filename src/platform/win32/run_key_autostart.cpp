#include "platform/win32/run_key_autostart.h"

#include <windows.h>

#include <algorithm>
#include <utility>

#include "platform/win32/wide_text.h"

namespace qv::win {

std::optional<std::wstring> runCommand(const std::string& path) {
  auto line = wide(path);
  if (!line || line->empty() || line->find(L'"') != std::wstring::npos) return std::nullopt;
  std::replace(line->begin(), line->end(), L'/', L'\\');
  if (line->find(L' ') != std::wstring::npos) *line = L"\"" + *line + L"\"";
  return line;
}

RunKeyAutostart::RunKeyAutostart(std::wstring key) : key_(std::move(key)) {}

bool RunKeyAutostart::add(const std::string& name, const std::string& path) {
  auto value = wide(name);
  auto line = runCommand(path);
  if (!value || value->empty() || !line) return false;
  HKEY k = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, key_.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                      KEY_SET_VALUE, nullptr, &k, nullptr) != ERROR_SUCCESS)
    return false;
  const auto bytes = static_cast<DWORD>((line->size() + 1) * sizeof(wchar_t));
  const bool ok =
      RegSetValueExW(k, value->c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(line->c_str()),
                     bytes) == ERROR_SUCCESS;
  RegCloseKey(k);
  return ok;
}

bool RunKeyAutostart::remove(const std::string& name) {
  auto value = wide(name);
  if (!value || value->empty()) return false;
  HKEY k = nullptr;
  LONG rc = RegOpenKeyExW(HKEY_CURRENT_USER, key_.c_str(), 0, KEY_SET_VALUE, &k);
  if (rc == ERROR_FILE_NOT_FOUND) return true;
  if (rc != ERROR_SUCCESS) return false;
  rc = RegDeleteValueW(k, value->c_str());
  RegCloseKey(k);
  return rc == ERROR_SUCCESS || rc == ERROR_FILE_NOT_FOUND;
}

}  // namespace qv::win
