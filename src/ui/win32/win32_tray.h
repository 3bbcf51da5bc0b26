#pragma once
// The notification area through Shell_NotifyIconW: the program's icons by id,
// owned by a hidden window of the tray's own that receives their mouse
// notifications. When the shell restarts (TaskbarCreated) its icons are gone:
// they count as absent, and the program's next Add, which it makes every few
// seconds, brings each back with what that Add carries.

#include <windows.h>

#include <map>
#include <optional>
#include <string>

#include "platform/tray.h"

namespace qv::ui::win32 {

class Win32Tray final : public Tray {
 public:
  Win32Tray();
  ~Win32Tray() override;
  Win32Tray(const Win32Tray&) = delete;
  Win32Tray& operator=(const Win32Tray&) = delete;

  bool notify(TrayAction action, const TrayIconData& data) override;

  // The hidden window: owner of the icons, and the window the tray menu is
  // opened from, as the shell wants.
  HWND window() const { return window_; }
  bool has(int id) const { return icons_.count(id) != 0; }

 private:
  struct Entry {
    HICON icon = nullptr;                // ours to destroy, when drawn
    std::optional<TrayPicture> picture;  // nullopt: the application's icon
  };

  static LRESULT CALLBACK proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  bool send(DWORD message, Entry& entry, const TrayIconData& data, unsigned fields);
  void setIcon(Entry& entry, const TrayIconData& data);

  HWND window_ = nullptr;
  UINT taskbarCreated_ = 0;
  std::map<int, Entry> icons_;
};

}  // namespace qv::ui::win32
