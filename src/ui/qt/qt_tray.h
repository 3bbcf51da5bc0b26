#pragma once
// The notification area: one icon per id, created by the first Add that finds
// a tray host. Where the desktop's tray learns of icons on D-Bus (a
// StatusNotifier host) the icon is a NotifierItem, which shows the program's
// menu itself; where it docks icon windows (XEmbed) it is a QSystemTrayIcon,
// whose context gesture reaches the program, which pops the menu up. Icons go
// with the host that showed them: when the host ends or another takes its
// place, every icon counts as gone, as the program expects of a restarted
// tray, and comes back only through the program's next Add, with what that
// Add carries.

#include <QDBusServiceWatcher>
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

class NotifierItem;
class TrayBalloon;

// The kind of tray host running now.
enum class TrayHost { None, Dock, Notifier };
TrayHost runningTrayHost();

class QtTray final : public Tray {
 public:
  // host tells which tray host is running now; tests replace it.
  explicit QtTray(std::function<TrayHost()> host = &runningTrayHost);
  ~QtTray() override;
  QtTray(const QtTray&) = delete;
  QtTray& operator=(const QtTray&) = delete;

  bool notify(TrayAction action, const TrayIconData& data) override;

  // The icon with this id, docked or registered; null when there is none.
  QSystemTrayIcon* icon(int id) const;
  NotifierItem* item(int id) const;

  // The tray host that showed the icons ended or was replaced: they are all
  // gone. Called when an icon's dock window goes, or the StatusNotifier
  // watcher its icons registered with; tests call it directly.
  void hostChanged();

 private:
  struct Entry {
    // One of the two.
    QPointer<QSystemTrayIcon> icon;
    QPointer<NotifierItem> item;
    // Its host is gone: the icon counts as absent until it is dropped.
    bool lost = false;
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
  void watchDock(int id, QSystemTrayIcon* icon, const QList<QWidget*>& docksBefore);
  void watchNotifierHost();
  void dropLost();
  Entry* present(int id);
  void showBalloon(Entry& entry, const TrayIconData& data);
  bool addDocked(int id, const TrayIconData& data);
  bool addNotifier(int id, const TrayIconData& data);

  std::function<TrayHost()> host_;
  // Parent of the icons, so that icons whose deferred deletion never ran go
  // with the tray.
  QObject owner_;
  std::map<int, Entry> icons_;
  // The StatusNotifier watcher, for icons that register with one instead of
  // docking a window; watched from the first such icon on.
  std::unique_ptr<QDBusServiceWatcher> notifierHost_;
  // Made at the first balloon and shown again for every later one.
  std::unique_ptr<TrayBalloon> balloon_;
};

}  // namespace qv::ui
