#include "ui/win32/view_host.h"

#include <algorithm>
#include <vector>

#include "platform/win32/wide_text.h"
#include "ui/win32/dpi.h"
#include "ui/win32/form_view.h"

namespace qv::ui::win32 {
namespace {

constexpr UINT kPopup = WM_APP + 10;
constexpr UINT kDestroy = WM_APP + 11;
constexpr UINT_PTR kPumpTimer = 1;

}  // namespace

ViewHost::ViewHost(Program& program) : program_(program) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSW wc{};
  wc.lpfnWndProc = &ViewHost::hostProc;
  wc.hInstance = instance;
  wc.lpszClassName = L"QuorvaneHost";
  RegisterClassW(&wc);
  // Top-level and never shown: it hears of the machine's resume, and owns
  // the popup menus, which the shell wants owned by a foreground window.
  window_ = CreateWindowExW(WS_EX_TOOLWINDOW, L"QuorvaneHost", L"", WS_POPUP, 0, 0, 0, 0, nullptr,
                            nullptr, instance, this);
  // Windows the program places against the screen's edges need its size, in
  // twips of the primary monitor.
  const int dpi = systemDpi();
  program_.setScreen({MulDiv(GetSystemMetrics(SM_CXSCREEN), 1440, dpi),
                      MulDiv(GetSystemMetrics(SM_CYSCREEN), 1440, dpi)});
}

ViewHost::~ViewHost() {
  for (auto& [form, view] : views_) delete view;
  for (FormView* view : closed_) delete view;
  if (window_) DestroyWindow(window_);
}

void ViewHost::created(Form& form) {
  // Made before it is entered: creating its windows sends messages.
  auto* view = new FormView(program_, form, *this);
  views_[&form] = view;
}

void ViewHost::closing(Form& form) {
  auto it = views_.find(&form);
  if (it == views_.end()) return;
  FormView* view = it->second;
  views_.erase(it);
  if (popupView_ == view) popupView_ = nullptr;
  view->detach();
  // One of its windows may be the one whose message is being handled.
  view->destroyLater();
}

void ViewHost::destroyLater(FormView* view) {
  closed_.insert(view);
  PostMessageW(window_, kDestroy, 0, 0);
}

void ViewHost::settled() {
  // A snapshot: a closed view is only destroyed later, but the map may change.
  std::vector<FormView*> views;
  for (auto& [form, view] : views_) views.push_back(view);
  for (FormView* view : views) view->flush();
  rearm();
}

void ViewHost::ended() {
  KillTimer(window_, kPumpTimer);
  armed_ = false;
  PostQuitMessage(0);
}

FormView* ViewHost::view(const Form& form) const {
  auto it = views_.find(&form);
  return it == views_.end() ? nullptr : it->second;
}

void ViewHost::rearm() {
  // While a handler waits (for a resume, say) nothing fires; its end settles
  // and comes back here.
  if (program_.ended() || program_.busy()) return;
  auto due = program_.timers().nextWake();
  if (!due) {
    KillTimer(window_, kPumpTimer);
    armed_ = false;
    return;
  }
  if (armed_ && pumpAt_ == *due) return;
  const std::int64_t wait = std::max<std::int64_t>(0, *due - program_.timers().now());
  SetTimer(
      window_, kPumpTimer,
      static_cast<UINT>(std::clamp<std::int64_t>(wait, USER_TIMER_MINIMUM, 24LL * 3600 * 1000)),
      nullptr);
  armed_ = true;
  pumpAt_ = *due;
}

void ViewHost::popupLater(FormView& view, Menu& menu) {
  popupView_ = &view;
  popupMenu_ = &menu;
  PostMessageW(window_, kPopup, 0, 0);
}

void ViewHost::popup() {
  FormView* view = popupView_;
  Menu* menu = popupMenu_;
  popupView_ = nullptr;
  if (!view || view->detached()) return;
  std::vector<Control*> items;
  HMENU handle = CreatePopupMenu();
  for (Control* c : view->form().controls()) {
    if (c->kind() != ControlKind::Menu || c->parent() != menu || !c->visible()) continue;
    items.push_back(c);
    AppendMenuW(handle, MF_STRING | (c->enabled() ? 0 : MF_GRAYED), items.size(),
                win::shown(c->text()).c_str());
  }
  POINT at;
  GetCursorPos(&at);
  // Without the foreground the menu would not close when clicked beside.
  SetForegroundWindow(window_);
  tracking_ = true;
  const auto chosen = static_cast<std::size_t>(TrackPopupMenu(
      handle, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, at.x, at.y, 0, window_, nullptr));
  tracking_ = false;
  PostMessageW(window_, WM_NULL, 0, 0);
  DestroyMenu(handle);
  if (!closed_.empty()) PostMessageW(window_, kDestroy, 0, 0);
  // Timers ran while the menu was open; the window may be gone since.
  if (chosen == 0 || chosen > items.size() || view->detached() || this->view(view->form()) != view)
    return;
  Control* item = items[chosen - 1];
  view->user([item] { item->click(); });
}

LRESULT CALLBACK ViewHost::hostProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* self = reinterpret_cast<ViewHost*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);
  switch (message) {
    case WM_TIMER:
      if (wParam != kPumpTimer) break;
      KillTimer(hwnd, kPumpTimer);
      self->armed_ = false;
      self->program_.pump();
      self->rearm();
      return 0;
    case WM_POWERBROADCAST:
      // After a resume overdue timers fire once.
      if (wParam == PBT_APMRESUMEAUTOMATIC || wParam == PBT_APMRESUMESUSPEND) {
        self->armed_ = false;
        self->rearm();
      }
      return TRUE;
    case kPopup:
      self->popup();
      return 0;
    case kDestroy: {
      // Not while a menu is open: its window's view is still looked at.
      if (self->tracking_) return 0;
      std::unordered_set<FormView*> closed;
      closed.swap(self->closed_);
      for (FormView* view : closed) delete view;
      return 0;
    }
    default:
      break;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

int ViewHost::run() {
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    // Tab and the arrow keys move between a window's controls.
    // IsDialogMessageW dispatches the message, and its handler may open or
    // close windows: look the window up first, never call it mid-iteration.
    HWND top = GetAncestor(msg.hwnd, GA_ROOT);
    const bool ours = top && std::any_of(views_.begin(), views_.end(), [top](const auto& entry) {
                        return entry.second && entry.second->window() == top;
                      });
    if (ours && IsDialogMessageW(top, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}

}  // namespace qv::ui::win32
