#include "ui/win32/dpi.h"

#include <algorithm>

#include "ui/win32/look.h"

namespace qv::ui::win32 {
namespace {

template <class Fn>
Fn user32(const char* name) {
  HMODULE m = GetModuleHandleW(L"user32.dll");
  return m ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(m, name))) : nullptr;
}

}  // namespace

void becomeDpiAware() {
  using ContextFn = BOOL(WINAPI*)(DPI_AWARENESS_CONTEXT);
  if (auto set = user32<ContextFn>("SetProcessDpiAwarenessContext")) {
    // Refused once the manifest has set it, as quorvane.exe's does: never
    // then the older call below, which could only ask for less.
    if (!set(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2))
      set(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE);
    return;
  }
  if (auto aware = user32<BOOL(WINAPI*)()>("SetProcessDPIAware")) aware();
}

int systemDpi() {
  if (auto get = user32<UINT(WINAPI*)()>("GetDpiForSystem")) return static_cast<int>(get());
  HDC screen = GetDC(nullptr);
  int dpi = GetDeviceCaps(screen, LOGPIXELSX);
  ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : 96;
}

int windowDpi(HWND hwnd) {
  if (auto get = user32<UINT(WINAPI*)(HWND)>("GetDpiForWindow")) {
    UINT dpi = get(hwnd);
    if (dpi > 0) return static_cast<int>(dpi);
  }
  return systemDpi();
}

void adjustForDpi(RECT& rect, DWORD style, DWORD exStyle, int dpi) {
  using AdjustFn = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
  if (auto adjust = user32<AdjustFn>("AdjustWindowRectExForDpi")) {
    if (adjust(&rect, style, FALSE, exStyle, static_cast<UINT>(dpi))) return;
  }
  AdjustWindowRectEx(&rect, style, FALSE, exStyle);
}

RECT workArea(HWND hwnd) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (GetMonitorInfoW(MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST), &info)) return info.rcWork;
  RECT work{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  return work;
}

int fittingDpi(int widthTwips, int heightTwips, DWORD style, DWORD exStyle, int dpi,
               const RECT& work) {
  constexpr int kSmallest = 72;
  for (int at = dpi; at > kSmallest; --at) {
    RECT r{0, 0, px(widthTwips, at), px(heightTwips, at)};
    adjustForDpi(r, style, exStyle, at);
    if (r.right - r.left <= work.right - work.left && r.bottom - r.top <= work.bottom - work.top)
      return at;
  }
  return std::min(dpi, kSmallest);
}

RECT keptInside(const RECT& window, const RECT& work) {
  const LONG width = window.right - window.left, height = window.bottom - window.top;
  const LONG left = std::max(work.left, std::min(window.left, work.right - width));
  const LONG top = std::max(work.top, std::min(window.top, work.bottom - height));
  return {left, top, left + width, top + height};
}

}  // namespace qv::ui::win32
