#include "ui/qt/qt_tray.h"

#include <QTextDocument>
#include <utility>

#include "ui/qt/look.h"
#include "ui/qt/tray_balloon.h"
#include "ui/qt/tray_picture.h"

namespace qv::ui {

namespace {

QIcon iconOf(const TrayIconData& data) {
  return data.drawn ? trayPictureIcon(data.picture) : applicationIcon();
}

// Tooltips go through Qt's rich-text guess; a text that looks like markup is
// escaped so that it shows as written, line breaks included.
QString tooltipText(const std::string& tip) {
  QString text = QString::fromStdString(tip);
  if (!Qt::mightBeRichText(text)) return text;
  return QStringLiteral("<p style='white-space:pre'>") + text.toHtmlEscaped() +
         QStringLiteral("</p>");
}

}  // namespace

void QtTray::showBalloon(QSystemTrayIcon& icon, const TrayIconData& data) {
  auto kind = data.infoKind == 1   ? QSystemTrayIcon::Information
              : data.infoKind == 2 ? QSystemTrayIcon::Warning
                                   : QSystemTrayIcon::NoIcon;
  const QString title = QString::fromStdString(data.infoTitle);
  const QString text = QString::fromStdString(data.infoText);
  if (TrayBalloon::desktopShowsMessages()) {
    icon.showMessage(title, text, kind);
    return;
  }
  if (!balloon_) balloon_ = std::make_unique<TrayBalloon>();
  balloon_->showMessage(title, text, kind, icon.geometry());
}

QtTray::QtTray(std::function<bool()> hostAvailable) : hostAvailable_(std::move(hostAvailable)) {}

QtTray::~QtTray() = default;

QSystemTrayIcon* QtTray::icon(int id) const {
  auto it = icons_.find(id);
  return it == icons_.end() ? nullptr : it->second.icon.data();
}

bool QtTray::notify(TrayAction action, const TrayIconData& data) {
  switch (action) {
    case TrayAction::Add:
      return add(data);
    case TrayAction::Modify:
      return modify(data);
    case TrayAction::Delete:
      return remove(data.id);
  }
  return false;
}

bool QtTray::hostUp() {
  bool up = hostAvailable_();
  if (!up)
    for (auto& [id, entry] : icons_) entry.hostLost = true;
  return up;
}

bool QtTray::add(const TrayIconData& data) {
  bool up = hostUp();
  if (auto it = icons_.find(data.id); it != icons_.end()) {
    Entry& entry = it->second;
    if (!up || !entry.hostLost) return false;
    entry.hostLost = false;
    // Qt docks its icons again by itself when a new host appears. One that
    // has found no place shows again, which registers it with the new host.
    if (!entry.icon->geometry().isEmpty()) return false;
    entry.icon->hide();
    entry.icon->show();
    return true;
  }
  // Without a host the icon is not made at all; the caller adds it again
  // periodically, and one of those calls finds the host.
  if (!up) return false;

  auto* icon = new QSystemTrayIcon(&owner_);
  int id = data.id;
  // No QMenu on the icon: the program pops its own menu on the context
  // gesture.
  QObject::connect(icon, &QSystemTrayIcon::activated, icon,
                   [this, id](QSystemTrayIcon::ActivationReason reason) {
                     int button = reason == QSystemTrayIcon::Trigger   ? 1
                                  : reason == QSystemTrayIcon::Context ? 2
                                                                       : 0;
                     if (button != 0 && onMouse) onMouse(id, button);
                   });
  // An icon needs a picture to show at all.
  Entry& entry = icons_[id] = Entry{icon, false, std::nullopt, std::nullopt};
  icon->setIcon(applicationIcon());
  TrayIconData first = data;
  first.fields &= ~trayfield::info;
  apply(entry, first);
  icon->show();
  if (data.fields & trayfield::info) showBalloon(*icon, data);
  return true;
}

bool QtTray::modify(const TrayIconData& data) {
  auto it = icons_.find(data.id);
  if (it == icons_.end() || !it->second.icon) return false;
  apply(it->second, data);
  return true;
}

bool QtTray::remove(int id) {
  auto it = icons_.find(id);
  if (it == icons_.end()) return false;
  QSystemTrayIcon* icon = it->second.icon;
  icons_.erase(it);
  if (icon) {
    icon->hide();
    // Later: this may run inside the icon's own click, through the menu.
    icon->deleteLater();
  }
  return true;
}

void QtTray::apply(Entry& entry, const TrayIconData& data) {
  QSystemTrayIcon& icon = *entry.icon;
  if (data.fields & trayfield::icon) {
    // The readout picture comes every few seconds, mostly unchanged; painting
    // it and the tray again for nothing was most of what the program cost at
    // rest.
    std::optional<TrayPicture> next;
    if (data.drawn) next = data.picture;
    if (next != entry.shown) {
      icon.setIcon(iconOf(data));
      entry.shown = std::move(next);
    }
  }
  // The same tooltip comes with most updates.
  if ((data.fields & trayfield::tip) && entry.tip != data.tip) {
    icon.setToolTip(tooltipText(data.tip));
    entry.tip = data.tip;
  }
  if (data.fields & trayfield::info) showBalloon(icon, data);
}

}  // namespace qv::ui
