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

// The work area (the monitor less the taskbar) of the monitor the window is
// on, or of the nearest one.
RECT workArea(HWND hwnd);
// The dpi to lay out a window of this client size (twips) at: the monitor's,
// or less where the window would not fit the work area at it (a large
// window at 150 % on a small screen), though never below 72.
int fittingDpi(int widthTwips, int heightTwips, DWORD style, DWORD exStyle, int dpi,
               const RECT& work);
// The window's rectangle moved into the work area; one larger than the work
// area keeps its top-left corner, and with it the caption, inside.
RECT keptInside(const RECT& window, const RECT& work);

}  // namespace qv::ui::win32
