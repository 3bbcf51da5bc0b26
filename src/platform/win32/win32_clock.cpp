#include "platform/win32/win32_clock.h"

#include <windows.h>

namespace qv::win {

std::int64_t Win32Clock::monotonicMs() {
  return static_cast<std::int64_t>(GetTickCount64());
}

DateTime Win32Clock::localTime() {
  SYSTEMTIME t{};
  GetLocalTime(&t);
  return DateTime{t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond, t.wDayOfWeek};
}

}  // namespace qv::win
