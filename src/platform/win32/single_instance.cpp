// One copy per session on Windows: a named mutex in the session's own
// namespace says whether a copy runs, and a hidden window of a known class
// is where it is asked. A later start posts it kShowMessage; the installer
// finds the window by its class and sends WM_CLOSE to end the program
// before it replaces the file.

#include "platform/win32/single_instance.h"

#include <windows.h>

#include "platform/single_instance.h"

namespace qv {
namespace win {
namespace {

constexpr wchar_t kMutex[] = L"Local\\org.quorvane.Quorvane";
// The copy takes its window just after the mutex: a start that comes in
// between waits this long for it.
constexpr DWORD kFindMs = 800;

class WindowClaim : public SingleInstance {
 public:
  explicit WindowClaim(HANDLE mutex) : mutex_(mutex) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSW wc{};
    wc.lpfnWndProc = &WindowClaim::proc;
    wc.hInstance = instance;
    wc.lpszClassName = kInstanceClass;
    RegisterClassW(&wc);
    // Top-level (never shown), so that FindWindow sees it.
    window_ = CreateWindowExW(WS_EX_TOOLWINDOW, kInstanceClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr,
                              nullptr, instance, this);
  }
  ~WindowClaim() override {
    if (window_) {
      SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
      DestroyWindow(window_);
    }
    CloseHandle(mutex_);
  }
  WindowClaim(const WindowClaim&) = delete;
  WindowClaim& operator=(const WindowClaim&) = delete;

 private:
  static LRESULT CALLBACK proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
      auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<WindowClaim*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self && message == kShowMessage) {
      if (self->onShow) self->onShow();
      return 0;
    }
    // Never the default, which would destroy the window and leave the
    // program running where nobody can reach it.
    if (self && message == WM_CLOSE) {
      if (self->onEnd) self->onEnd();
      return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
  }

  HANDLE mutex_;
  HWND window_ = nullptr;
};

// Lets the running copy take the foreground, which Windows grants only to
// the program the user just started.
void askRunningCopyToShow() {
  const ULONGLONG until = GetTickCount64() + kFindMs;
  do {
    if (HWND running = FindWindowW(kInstanceClass, nullptr)) {
      DWORD process = 0;
      GetWindowThreadProcessId(running, &process);
      AllowSetForegroundWindow(process);
      PostMessageW(running, kShowMessage, 0, 0);
      return;
    }
    Sleep(20);
  } while (GetTickCount64() < until);
}

}  // namespace
}  // namespace win

std::unique_ptr<SingleInstance> claimSingleInstance() {
  HANDLE mutex = CreateMutexW(nullptr, FALSE, win::kMutex);
  const DWORD error = GetLastError();
  if (mutex && error != ERROR_ALREADY_EXISTS) return std::make_unique<win::WindowClaim>(mutex);
  if (mutex) CloseHandle(mutex);
  // Not even opened: a copy runs under other rights (access denied); with
  // any other failure nothing tells, and this start runs.
  if (!mutex && error != ERROR_ACCESS_DENIED) return std::make_unique<SingleInstance>();
  win::askRunningCopyToShow();
  return nullptr;
}

}  // namespace qv
