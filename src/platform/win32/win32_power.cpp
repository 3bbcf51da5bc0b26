#include "platform/win32/win32_power.h"

#include <windows.h>

#include "platform/win32/dry_run.h"

namespace qv::win {
namespace {

template <class Fn>
Fn entry(const wchar_t* module, const char* name) {
  HMODULE m = GetModuleHandleW(module);
  if (!m) m = LoadLibraryW(module);
  return m ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(m, name))) : nullptr;
}

// An ordinary user holds the shutdown privilege but must switch it on.
bool enableShutdownPrivilege() {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token))
    return false;
  TOKEN_PRIVILEGES p{};
  p.PrivilegeCount = 1;
  p.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
  bool ok = LookupPrivilegeValueW(nullptr, SE_SHUTDOWN_NAME, &p.Privileges[0].Luid) &&
            AdjustTokenPrivileges(token, FALSE, &p, 0, nullptr, nullptr) &&
            GetLastError() == ERROR_SUCCESS;
  CloseHandle(token);
  return ok;
}

bool exitWindows(UINT how) {
  return enableShutdownPrivilege() &&
         ExitWindowsEx(how, SHTDN_REASON_MAJOR_OTHER | SHTDN_REASON_FLAG_PLANNED);
}

}  // namespace

bool Win32Power::powerOff() {
  if (dryRun()) {
    logDryRun("would power off");
    return true;
  }
  return exitWindows(EWX_POWEROFF);
}

bool Win32Power::restart() {
  if (dryRun()) {
    logDryRun("would restart");
    return true;
  }
  return exitWindows(EWX_REBOOT);
}

bool Win32Power::restartNow() {
  if (dryRun()) {
    logDryRun("would restart at once");
    return true;
  }
  using AdjustFn = LONG(NTAPI*)(ULONG, BOOLEAN, BOOLEAN, PBOOLEAN);
  using ShutdownFn = LONG(NTAPI*)(ULONG);
  auto adjust = entry<AdjustFn>(L"ntdll.dll", "RtlAdjustPrivilege");
  auto shutdown = entry<ShutdownFn>(L"ntdll.dll", "NtShutdownSystem");
  if (!adjust || !shutdown) return false;
  constexpr ULONG kShutdownPrivilege = 19;
  constexpr ULONG kReboot = 1;
  BOOLEAN previous = FALSE;
  // For the process, not the thread; the previous state is not needed.
  adjust(kShutdownPrivilege, TRUE, FALSE, &previous);
  return shutdown(kReboot) >= 0;
}

bool Win32Power::suspend() {
  if (dryRun()) {
    logDryRun("would suspend");
    return true;
  }
  using SuspendFn = BOOLEAN(WINAPI*)(BOOLEAN, BOOLEAN, BOOLEAN);
  auto suspendState = entry<SuspendFn>(L"powrprof.dll", "SetSuspendState");
  // Returns once the machine has resumed.
  return suspendState && suspendState(FALSE, FALSE, FALSE);
}

}  // namespace qv::win
