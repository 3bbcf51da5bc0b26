#pragma once
// A tray icon as a StatusNotifierItem, with its menu over DBusMenu, for
// desktops whose tray shows icons it learns of on D-Bus (Plasma, GNOME's
// AppIndicator extension, xfce4-panel, waybar). Qt has such an item too, but
// it names every icon of a program alike (its id and title are the
// application's name), so a desktop that lets the user hide or order icons
// takes two for one. This one carries the name and title the program gives
// each icon, offers the picture at every size in the list below, and shows
// the menu the program gives it.
//
// Each item has a connection to the session bus of its own: hosts expect one
// item per bus name. The item is gone from the desktop when it is destroyed.

#include <QIcon>
#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/tray.h"

namespace qv::ui {

class IconFiles;

class NotifierItem final : public QObject {
 public:
  NotifierItem(QString name, QString title);
  ~NotifierItem() override;
  NotifierItem(const NotifierItem&) = delete;
  NotifierItem& operator=(const NotifierItem&) = delete;

  // Registers the item with the desktop's StatusNotifier watcher; false when
  // it has no connection to the bus.
  bool show();
  // The bus name the item is known by.
  QString service() const;

  // The picture; asFiles also writes it as an icon theme's files, for panels
  // that would scale the largest picture down otherwise.
  void setIcon(const QIcon& icon, bool asFiles = false);
  void setToolTip(const QString& tip);
  void setMenu(const std::vector<TrayMenuItem>& menu);

  // The host's gestures: 1 the primary one (a left click), 2 the context
  // gesture of a host that shows no menu of its own.
  std::function<void(int button)> activated;
  // The entry chosen in the menu, by name.
  std::function<void(const std::string& item)> chosen;

 private:
  class Item;
  class Menu;
  std::unique_ptr<Item> item_;
  std::unique_ptr<Menu> menu_;
  std::unique_ptr<IconFiles> files_;
  QString connection_;
};

}  // namespace qv::ui
