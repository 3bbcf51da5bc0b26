#pragma once
// Per-monitor dpi, through the calls of Windows 10 where the system has them
// and the system's one dpi where it has not.

#include <windows.h>

namespace qv::ui::win32 {

// Asks for per-monitor dpi awareness (version 2 where there is one); once,
// before the first window.
void becomeDpiAware();
// The dpi of the monitor the window is on.
int windowDpi(HWND hwnd);
// The dpi of the primary monitor.
int systemDpi();
// The outer rectangle for a client area, at `dpi`.
void adjustForDpi(RECT& rect, DWORD style, DWORD exStyle, int dpi);

}  // namespace qv::ui::win32
