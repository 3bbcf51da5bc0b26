#include "ui/win32/win32_tray.h"

#include <shellapi.h>

#include <algorithm>
#include <cwchar>

#include "platform/win32/wide_text.h"
#include "ui/win32/pictures.h"
#include "ui/win32/tray_picture.h"

namespace qv::ui::win32 {
namespace {

constexpr UINT kCallback = WM_APP + 1;
constexpr wchar_t kClass[] = L"QuorvaneTray";

// Copies as much of the text as fits the field, never half a surrogate pair.
template <std::size_t N>
void copyField(wchar_t (&field)[N], const std::string& text) {
  std::wstring w = win::shown(text);
  std::size_t n = std::min(w.size(), N - 1);
  if (n > 0 && n < w.size() && IS_HIGH_SURROGATE(w[n - 1])) --n;
  std::wmemcpy(field, w.data(), n);
  field[n] = L'\0';
}

int iconSize() {
  return std::max(16, GetSystemMetrics(SM_CXSMICON));
}

}  // namespace

Win32Tray::Win32Tray() {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSW wc{};
  wc.lpfnWndProc = &Win32Tray::proc;
  wc.hInstance = instance;
  wc.lpszClassName = kClass;
  RegisterClassW(&wc);
  // A top-level window, never shown: the shell's TaskbarCreated reaches
  // top-level windows only.
  window_ = CreateWindowExW(WS_EX_TOOLWINDOW, kClass, L"Quorvane", WS_POPUP, 0, 0, 0, 0, nullptr,
                            nullptr, instance, this);
  taskbarCreated_ = RegisterWindowMessageW(L"TaskbarCreated");
}

Win32Tray::~Win32Tray() {
  // The exit picture leaves the icons to the shell, which drops them with
  // their window.
  for (auto& [id, entry] : icons_)
    if (entry.icon) DestroyIcon(entry.icon);
  if (window_) DestroyWindow(window_);
}

LRESULT CALLBACK Win32Tray::proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* self = reinterpret_cast<Win32Tray*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (self && message == kCallback) {
    const int button = lParam == WM_LBUTTONUP ? 1 : lParam == WM_RBUTTONUP ? 2 : 0;
    if (button != 0 && self->onMouse) self->onMouse(static_cast<int>(wParam), button);
    return 0;
  }
  if (self && self->taskbarCreated_ && message == self->taskbarCreated_) {
    for (auto& [id, entry] : self->icons_)
      if (entry.icon) DestroyIcon(entry.icon);
    self->icons_.clear();
    return 0;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

void Win32Tray::setIcon(Entry& entry, const TrayIconData& data) {
  std::optional<TrayPicture> next;
  if (data.drawn) next = data.picture;
  // The readout picture comes every few seconds, mostly unchanged.
  if (entry.icon && next == entry.picture) return;
  if (entry.icon) DestroyIcon(entry.icon);
  entry.icon = nullptr;
  if (next) entry.icon = paintTrayPicture(*next, iconSize());
  entry.picture = std::move(next);
}

bool Win32Tray::send(DWORD message, Entry& entry, const TrayIconData& data, unsigned fields) {
  NOTIFYICONDATAW nid{};
  nid.cbSize = sizeof nid;
  nid.hWnd = window_;
  nid.uID = static_cast<UINT>(data.id);
  if (fields & trayfield::message) {
    nid.uFlags |= NIF_MESSAGE;
    nid.uCallbackMessage = kCallback;
  }
  if (fields & trayfield::icon) {
    nid.uFlags |= NIF_ICON;
    nid.hIcon = entry.icon ? entry.icon : pictureIcon("app", iconSize());
  }
  if (fields & trayfield::tip) {
    nid.uFlags |= NIF_TIP;
    copyField(nid.szTip, data.tip);
  }
  if (fields & trayfield::info) {
    nid.uFlags |= NIF_INFO;
    copyField(nid.szInfo, data.infoText);
    copyField(nid.szInfoTitle, data.infoTitle);
    nid.dwInfoFlags = data.infoKind == 1   ? NIIF_INFO
                      : data.infoKind == 2 ? NIIF_WARNING
                                           : NIIF_NONE;
  }
  return Shell_NotifyIconW(message, &nid) != FALSE;
}

bool Win32Tray::notify(TrayAction action, const TrayIconData& data) {
  switch (action) {
    case TrayAction::Add: {
      if (icons_.count(data.id) != 0) return false;
      Entry entry;
      if (data.fields & trayfield::icon) setIcon(entry, data);
      // An icon needs a picture to show at all.
      if (!send(NIM_ADD, entry, data, data.fields | trayfield::icon)) {
        if (entry.icon) DestroyIcon(entry.icon);
        return false;
      }
      icons_.emplace(data.id, entry);
      return true;
    }
    case TrayAction::Modify: {
      auto it = icons_.find(data.id);
      if (it == icons_.end()) return false;
      // The shell keeps a copy of the icon it was given: the old one may go.
      if (data.fields & trayfield::icon) setIcon(it->second, data);
      return send(NIM_MODIFY, it->second, data, data.fields);
    }
    case TrayAction::Delete: {
      auto it = icons_.find(data.id);
      if (it == icons_.end()) return false;
      Entry entry = it->second;
      icons_.erase(it);
      const bool ok = send(NIM_DELETE, entry, data, 0);
      if (entry.icon) DestroyIcon(entry.icon);
      return ok;
    }
  }
  return false;
}

}  // namespace qv::ui::win32
