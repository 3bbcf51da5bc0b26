#include "platform/win32/wide_text.h"

#include <windows.h>

#include <climits>

namespace qv::win {
namespace {

std::optional<std::wstring> convert(std::string_view utf8, DWORD flags) {
  if (utf8.empty()) return std::wstring();
  if (utf8.size() > INT_MAX) return std::nullopt;
  const int n = static_cast<int>(utf8.size());
  const int size = MultiByteToWideChar(CP_UTF8, flags, utf8.data(), n, nullptr, 0);
  if (size <= 0) return std::nullopt;
  std::wstring out(static_cast<std::size_t>(size), L'\0');
  MultiByteToWideChar(CP_UTF8, flags, utf8.data(), n, out.data(), size);
  return out;
}

}  // namespace

std::optional<std::wstring> wide(std::string_view utf8) {
  return convert(utf8, MB_ERR_INVALID_CHARS);
}

std::wstring shown(std::string_view utf8) {
  return convert(utf8, 0).value_or(std::wstring());
}

std::string narrow(std::wstring_view utf16) {
  if (utf16.empty() || utf16.size() > INT_MAX) return {};
  const int n = static_cast<int>(utf16.size());
  const int size = WideCharToMultiByte(CP_UTF8, 0, utf16.data(), n, nullptr, 0, nullptr, nullptr);
  if (size <= 0) return {};
  std::string out(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, utf16.data(), n, out.data(), size, nullptr, nullptr);
  return out;
}

}  // namespace qv::win
