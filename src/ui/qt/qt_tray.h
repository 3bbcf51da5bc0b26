#pragma once
// The notification area through QSystemTrayIcon: one icon per id, created by
// the first Add that finds a tray host.

#include <QObject>
#include <QPointer>
#include <QSystemTrayIcon>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "platform/tray.h"

namespace qv::ui {

class TrayBalloon;

class QtTray final : public Tray {
 public:
  // hostAvailable tells whether a tray host is running now; tests replace it.
  explicit QtTray(std::function<bool()> hostAvailable = &QSystemTrayIcon::isSystemTrayAvailable);
  ~QtTray() override;
  QtTray(const QtTray&) = delete;
  QtTray& operator=(const QtTray&) = delete;

  bool notify(TrayAction action, const TrayIconData& data) override;

  // The icon with this id, null when there is none.
  QSystemTrayIcon* icon(int id) const;

 private:
  struct Entry {
    QPointer<QSystemTrayIcon> icon;
    // The host was seen gone while this icon existed.
    bool hostLost = false;
    // What the icon shows: the readout picture, or nullopt for the
    // application's icon.
    std::optional<TrayPicture> shown;
    // The tooltip as the program last gave it.
    std::optional<std::string> tip;
  };

  bool add(const TrayIconData& data);
  bool modify(const TrayIconData& data);
  bool remove(int id);
  void apply(Entry& entry, const TrayIconData& data);
  bool hostUp();
  void showBalloon(QSystemTrayIcon& icon, const TrayIconData& data);

  std::function<bool()> hostAvailable_;
  // Parent of the icons, so that icons whose deferred deletion never ran go
  // with the tray.
  QObject owner_;
  std::map<int, Entry> icons_;
  // Made at the first balloon and shown again for every later one.
  std::unique_ptr<TrayBalloon> balloon_;
};

}  // namespace qv::ui
