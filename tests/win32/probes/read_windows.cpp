// Reads another program's windows as a screen reader would: for each visible
// top-level window whose caption is the argument, one line per child window
// with its class, text, check state and whether it is visible, in UTF-8.
//   read_windows.exe CAPTION      (exit 1 when no such window is shown)

#include <windows.h>

#include <cstdio>
#include <string>

namespace {

std::string utf8(const std::wstring& w) {
  if (w.empty()) return {};
  int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), nullptr, 0, nullptr,
                              nullptr);
  std::string out(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), out.data(), n, nullptr,
                      nullptr);
  return out;
}

std::wstring textOf(HWND w) {
  wchar_t buffer[1024] = {};
  SendMessageTimeoutW(w, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(buffer), SMTO_ABORTIFHUNG, 2000,
                      nullptr);
  return buffer;
}

BOOL CALLBACK child(HWND w, LPARAM) {
  wchar_t cls[64] = {};
  GetClassNameW(w, cls, 64);
  DWORD_PTR check = 0;
  SendMessageTimeoutW(w, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, 2000, &check);
  std::string line = utf8(cls) + "\t" + utf8(textOf(w)) + "\t" + std::to_string(check) + "\t" +
                     (IsWindowVisible(w) ? "1" : "0") + "\n";
  std::fputs(line.c_str(), stdout);
  return TRUE;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return 2;
  bool found = false;
  HWND w = nullptr;
  while ((w = FindWindowExW(nullptr, w, nullptr, argv[1])) != nullptr) {
    if (!IsWindowVisible(w)) continue;
    found = true;
    EnumChildWindows(w, child, 0);
  }
  return found ? 0 : 1;
}
