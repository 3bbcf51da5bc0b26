#include "ui/qt/qt_tray.h"

#include <QApplication>
#include <QDBusConnection>
#include <QTextDocument>
#include <QTimer>
#include <QWidget>
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

// The windows Qt docks its icons with into an XEmbed tray (there are none
// with a StatusNotifier host). Qt destroys an icon's window when the tray
// host ends or another takes its place, and then docks the icon again by
// itself, with the tooltip it had.
QList<QWidget*> docks() {
  QList<QWidget*> out;
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->objectName() == QLatin1String("QSystemTrayIconSys")) out << w;
  return out;
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

QtTray::~QtTray() {
  // The exit picture leaves the icons to the desktop: they go here, as the
  // process ends (and with its windows and bus name if it is killed). The
  // icons go before the record of them: each one's window, destroyed with
  // it, must not count as a lost host.
  icons_.clear();
  qDeleteAll(owner_.children());
}

QSystemTrayIcon* QtTray::icon(int id) const {
  auto it = icons_.find(id);
  return it == icons_.end() || it->second.lost ? nullptr : it->second.icon.data();
}

QtTray::Entry* QtTray::present(int id) {
  auto it = icons_.find(id);
  if (it == icons_.end() || it->second.lost || !it->second.icon) return nullptr;
  return &it->second;
}

void QtTray::hostChanged() {
  for (auto& [id, entry] : icons_) entry.lost = true;
  // Not at once: this may run while Qt is destroying the icon's window.
  QTimer::singleShot(0, &owner_, [this] { dropLost(); });
}

void QtTray::dropLost() {
  for (auto it = icons_.begin(); it != icons_.end();) {
    if (!it->second.lost) {
      ++it;
      continue;
    }
    // Out of the record first, so that its window going counts for nothing.
    QPointer<QSystemTrayIcon> icon = it->second.icon;
    it = icons_.erase(it);
    if (icon) {
      icon->hide();
      icon->deleteLater();
    }
  }
}

void QtTray::watchDock(int id, QSystemTrayIcon* icon, const QList<QWidget*>& docksBefore) {
  for (QWidget* dock : docks()) {
    if (docksBefore.contains(dock)) continue;
    // Tells the icons apart on the desktop, for tools that look at windows.
    dock->setWindowRole(QStringLiteral("quorvane-tray-%1").arg(id));
    QObject::connect(dock, &QObject::destroyed, icon, [this, id, icon] {
      auto it = icons_.find(id);
      if (it != icons_.end() && it->second.icon == icon && !it->second.lost) hostChanged();
    });
    return;
  }
  // No window: the icon registered with a StatusNotifier watcher, which Qt
  // registers it with again, old tooltip and all, when a new one starts.
  watchNotifierHost();
}

void QtTray::watchNotifierHost() {
  if (notifierHost_) return;
  notifierHost_ = std::make_unique<QDBusServiceWatcher>(
      QStringLiteral("org.kde.StatusNotifierWatcher"), QDBusConnection::sessionBus(),
      QDBusServiceWatcher::WatchForOwnerChange);
  QObject::connect(notifierHost_.get(), &QDBusServiceWatcher::serviceOwnerChanged, &owner_,
                   [this](const QString&, const QString& oldOwner, const QString&) {
                     if (!oldOwner.isEmpty()) hostChanged();
                   });
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

bool QtTray::add(const TrayIconData& data) {
  // A host seen gone here took its icons with it, as when their windows
  // went.
  const bool up = hostAvailable_();
  if (!up)
    for (auto& [id, entry] : icons_) entry.lost = true;
  dropLost();
  if (icons_.count(data.id) != 0) return false;
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
  const QList<QWidget*> before = docks();
  icon->show();
  watchDock(id, icon, before);
  if (data.fields & trayfield::info) showBalloon(*icon, data);
  return true;
}

bool QtTray::modify(const TrayIconData& data) {
  Entry* entry = present(data.id);
  if (!entry) return false;
  apply(*entry, data);
  return true;
}

bool QtTray::remove(int id) {
  auto it = icons_.find(id);
  if (it == icons_.end()) return false;
  // An icon its host took along is gone already; only the object remains.
  const bool shown = !it->second.lost;
  QSystemTrayIcon* icon = it->second.icon;
  icons_.erase(it);
  if (icon) {
    icon->hide();
    // Later: this may run inside the icon's own click, through the menu.
    icon->deleteLater();
  }
  return shown;
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
