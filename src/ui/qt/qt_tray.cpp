#include "ui/qt/qt_tray.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>
#include <QTextDocument>
#include <QTimer>
#include <QWidget>
#include <utility>

#include "ui/qt/look.h"
#include "ui/qt/notifier_item.h"
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

const QString kWatcher = QStringLiteral("org.kde.StatusNotifierWatcher");

// What a desktop names an icon by: the program's name for it, else one made
// from the id.
QString nameOf(const TrayIconData& data) {
  if (!data.name.empty()) return QString::fromStdString(data.name);
  return QCoreApplication::applicationName() + QStringLiteral("-%1").arg(data.id);
}

}  // namespace

TrayHost runningTrayHost() {
  // A StatusNotifier watcher with a host registered: the tray shows items it
  // learns of on D-Bus. The host is asked once per watcher that has one (it
  // is the panel: asking it every few seconds would wake it), with a short
  // timeout: a watcher that hangs must not hold up the program.
  static QString answered;  // the watcher that said it has a host
  QDBusConnection bus = QDBusConnection::sessionBus();
  const QString owner = bus.isConnected() && bus.interface()
                            ? bus.interface()->serviceOwner(kWatcher).value()
                            : QString();
  if (!owner.isEmpty() && owner == answered) return TrayHost::Notifier;
  if (!owner.isEmpty()) {
    QDBusMessage get = QDBusMessage::createMethodCall(
        kWatcher, QStringLiteral("/StatusNotifierWatcher"),
        QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    get << kWatcher << QStringLiteral("IsStatusNotifierHostRegistered");
    const QDBusMessage reply = bus.call(get, QDBus::Block, 500);
    if (reply.type() == QDBusMessage::ReplyMessage &&
        reply.arguments().value(0).value<QDBusVariant>().variant().toBool()) {
      answered = owner;
      return TrayHost::Notifier;
    }
  }
  // Qt's own answer, asked only when there is no such watcher: Qt decides
  // once whether its icons go over D-Bus, and they must not.
  return QSystemTrayIcon::isSystemTrayAvailable() ? TrayHost::Dock : TrayHost::None;
}

void QtTray::showBalloon(Entry& entry, const TrayIconData& data) {
  auto kind = data.infoKind == 1   ? QSystemTrayIcon::Information
              : data.infoKind == 2 ? QSystemTrayIcon::Warning
                                   : QSystemTrayIcon::NoIcon;
  const QString title = QString::fromStdString(data.infoTitle);
  const QString text = QString::fromStdString(data.infoText);
  auto ownBalloon = [this, title, text, kind](const QRect& anchor) {
    if (!balloon_) balloon_ = std::make_unique<TrayBalloon>();
    balloon_->showMessage(title, text, kind, anchor);
  };
  if (!entry.item) {
    ownBalloon(entry.icon ? entry.icon->geometry() : QRect());
    return;
  }
  // Beside a D-Bus tray the desktop's notification service shows messages;
  // without one, the balloon comes up in the corner of the screen.
  QDBusMessage notify = QDBusMessage::createMethodCall(
      QStringLiteral("org.freedesktop.Notifications"),
      QStringLiteral("/org/freedesktop/Notifications"),
      QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("Notify"));
  const int urgency = kind == QSystemTrayIcon::Warning ? 1 : 0;
  const QString icon = kind == QSystemTrayIcon::Warning       ? QStringLiteral("dialog-warning")
                       : kind == QSystemTrayIcon::Information ? QStringLiteral("dialog-information")
                                                              : QString();
  notify << QCoreApplication::applicationName() << 0u << icon << title << text << QStringList()
         << QVariantMap{{QStringLiteral("urgency"), QVariant::fromValue(uchar(urgency))}} << 10000;
  auto* pending =
      new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(notify), &owner_);
  QObject::connect(pending, &QDBusPendingCallWatcher::finished, &owner_,
                   [pending, ownBalloon](QDBusPendingCallWatcher*) {
                     if (pending->isError()) ownBalloon(QRect());
                     pending->deleteLater();
                   });
}

QtTray::QtTray(std::function<TrayHost()> host) : host_(std::move(host)) {}

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

NotifierItem* QtTray::item(int id) const {
  auto it = icons_.find(id);
  return it == icons_.end() || it->second.lost ? nullptr : it->second.item.data();
}

QtTray::Entry* QtTray::present(int id) {
  auto it = icons_.find(id);
  if (it == icons_.end() || it->second.lost || (!it->second.icon && !it->second.item))
    return nullptr;
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
    QPointer<NotifierItem> item = it->second.item;
    it = icons_.erase(it);
    if (icon) {
      icon->hide();
      icon->deleteLater();
    }
    if (item) item->deleteLater();
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
  const TrayHost host = host_();
  if (host == TrayHost::None)
    for (auto& [id, entry] : icons_) entry.lost = true;
  dropLost();
  if (icons_.count(data.id) != 0) return false;
  // Without a host the icon is not made at all; the caller adds it again
  // periodically, and one of those calls finds the host.
  if (host == TrayHost::None) return false;
  return host == TrayHost::Notifier ? addNotifier(data.id, data) : addDocked(data.id, data);
}

bool QtTray::addDocked(int id, const TrayIconData& data) {
  auto* icon = new QSystemTrayIcon(&owner_);
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
  Entry& entry = icons_[id] = Entry{icon, nullptr, false, std::nullopt, std::nullopt};
  icon->setIcon(applicationIcon());
  TrayIconData first = data;
  first.fields &= ~trayfield::info;
  apply(entry, first);
  const QList<QWidget*> before = docks();
  icon->show();
  watchDock(id, icon, before);
  if (data.fields & trayfield::info) showBalloon(entry, data);
  return true;
}

bool QtTray::addNotifier(int id, const TrayIconData& data) {
  auto* item = new NotifierItem(nameOf(data), QString::fromStdString(data.title));
  item->setParent(&owner_);
  item->activated = [this, id](int button) {
    if (onMouse) onMouse(id, button);
  };
  item->chosen = [this, id](const std::string& name) {
    if (onMenu) onMenu(id, name);
  };
  Entry& entry = icons_[id] = Entry{nullptr, item, false, std::nullopt, std::nullopt};
  item->setIcon(applicationIcon());
  TrayIconData first = data;
  first.fields &= ~trayfield::info;
  apply(entry, first);
  if (!item->show()) {
    icons_.erase(id);
    item->deleteLater();
    return false;
  }
  // Icons go with the watcher they registered with.
  watchNotifierHost();
  if (data.fields & trayfield::info) showBalloon(entry, data);
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
  NotifierItem* item = it->second.item;
  icons_.erase(it);
  // Later: this may run inside the icon's own click, through the menu.
  if (icon) {
    icon->hide();
    icon->deleteLater();
  }
  if (item) item->deleteLater();
  return shown;
}

void QtTray::apply(Entry& entry, const TrayIconData& data) {
  if (data.fields & trayfield::icon) {
    // The readout picture comes every few seconds, mostly unchanged; painting
    // it and the tray again for nothing was most of what the program cost at
    // rest.
    std::optional<TrayPicture> next;
    if (data.drawn) next = data.picture;
    if (next != entry.shown) {
      if (entry.icon) entry.icon->setIcon(iconOf(data));
      if (entry.item) entry.item->setIcon(iconOf(data), data.drawn);
      entry.shown = std::move(next);
    }
  }
  // The same tooltip comes with most updates.
  if ((data.fields & trayfield::tip) && entry.tip != data.tip) {
    if (entry.icon) entry.icon->setToolTip(tooltipText(data.tip));
    if (entry.item) entry.item->setToolTip(QString::fromStdString(data.tip));
    entry.tip = data.tip;
  }
  // A tray that docks icons leaves the menu to the program.
  if ((data.fields & trayfield::message) && entry.item) entry.item->setMenu(data.menu);
  if (data.fields & trayfield::info) showBalloon(entry, data);
}

}  // namespace qv::ui
