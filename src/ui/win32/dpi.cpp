#include "ui/win32/dpi.h"

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
    if (set(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2) ||
        set(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE))
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

}  // namespace qv::ui::win32
