// The modules loaded in the program that shows a window with this caption,
// one full path a line, in UTF-8.
//   process_modules.exe CAPTION      (exit 1 when no such window is shown)

#include <windows.h>
// After windows.h, which it needs.
#include <tlhelp32.h>

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

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return 2;
  HWND w = FindWindowW(nullptr, argv[1]);
  if (!w) return 1;
  DWORD process = 0;
  GetWindowThreadProcessId(w, &process);
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, process);
  if (snapshot == INVALID_HANDLE_VALUE) return 1;
  MODULEENTRY32W module{};
  module.dwSize = sizeof module;
  for (BOOL more = Module32FirstW(snapshot, &module); more; more = Module32NextW(snapshot, &module))
    std::fputs((utf8(module.szExePath) + "\n").c_str(), stdout);
  CloseHandle(snapshot);
  return 0;
}
