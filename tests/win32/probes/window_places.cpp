// Where windows are: one line per visible top-level window, with its
// process id, caption, rectangle, the work area of its monitor and its dpi,
// in UTF-8 and tab-separated (rectangles as left top right bottom).
//   window_places.exe

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

std::string rect(const RECT& r) {
  return std::to_string(r.left) + "\t" + std::to_string(r.top) + "\t" + std::to_string(r.right) +
         "\t" + std::to_string(r.bottom);
}

BOOL CALLBACK top(HWND w, LPARAM) {
  wchar_t caption[256] = {};
  if (!IsWindowVisible(w)) return TRUE;
  GetWindowTextW(w, caption, 256);
  DWORD process = 0;
  GetWindowThreadProcessId(w, &process);
  RECT r{};
  GetWindowRect(w, &r);
  MONITORINFO info{};
  info.cbSize = sizeof info;
  GetMonitorInfoW(MonitorFromWindow(w, MONITOR_DEFAULTTONEAREST), &info);
  const std::string line = std::to_string(process) + "\t" + utf8(caption) + "\t" + rect(r) + "\t" +
                           rect(info.rcWork) + "\t" + std::to_string(GetDpiForWindow(w)) + "\n";
  std::fputs(line.c_str(), stdout);
  return TRUE;
}

}  // namespace

int wmain() {
  SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
  EnumWindows(top, 0);
  return 0;
}
