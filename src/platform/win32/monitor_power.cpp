#include "platform/win32/monitor_power.h"

#include <windows.h>

#include "platform/win32/dry_run.h"

namespace qv::win {

MonitorPower::~MonitorPower() {
  if (window_) DestroyWindow(static_cast<HWND>(window_));
}

bool MonitorPower::displayOff() {
  if (dryRun()) {
    logDryRun("would switch the display off");
    return true;
  }
  // A top-level window: the command means nothing to a message-only one.
  if (!window_)
    window_ = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
  if (!window_) return false;
  constexpr LPARAM kOff = 2;
  SendMessageW(static_cast<HWND>(window_), WM_SYSCOMMAND, SC_MONITORPOWER, kOff);
  return true;
}

}  // namespace qv::win
