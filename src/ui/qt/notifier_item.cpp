#include "ui/qt/notifier_item.h"

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusPendingCall>
#include <QDBusVariant>
#include <QDBusVirtualObject>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QList>
#include <QLockFile>
#include <QPixmap>
#include <QStandardPaths>
#include <QTimer>
#include <QVariantMap>
#include <QtEndian>
#include <atomic>
#include <deque>
#include <optional>
#include <utility>

#include "ui/qt/tray_picture.h"

namespace qv::ui::sni {

// The wire types of the two interfaces.
struct Pixmap {
  int width = 0;
  int height = 0;
  QByteArray argb;  // ARGB32, big-endian, rows top to bottom
};
using Pixmaps = QList<Pixmap>;

struct ToolTip {
  QString icon;
  Pixmaps images;
  QString title;
  QString text;
};

struct MenuNode {
  int id = 0;
  QVariantMap properties;
  std::vector<MenuNode> children;
};

struct MenuProperties {
  int id = 0;
  QVariantMap properties;
};
using MenuPropertiesList = QList<MenuProperties>;

}  // namespace qv::ui::sni

Q_DECLARE_METATYPE(qv::ui::sni::Pixmap)
Q_DECLARE_METATYPE(qv::ui::sni::ToolTip)
Q_DECLARE_METATYPE(qv::ui::sni::MenuNode)
Q_DECLARE_METATYPE(qv::ui::sni::MenuProperties)

namespace qv::ui::sni {

QDBusArgument& operator<<(QDBusArgument& arg, const Pixmap& p) {
  arg.beginStructure();
  arg << p.width << p.height << p.argb;
  arg.endStructure();
  return arg;
}
const QDBusArgument& operator>>(const QDBusArgument& arg, Pixmap& p) {
  arg.beginStructure();
  arg >> p.width >> p.height >> p.argb;
  arg.endStructure();
  return arg;
}

QDBusArgument& operator<<(QDBusArgument& arg, const ToolTip& t) {
  arg.beginStructure();
  arg << t.icon << t.images << t.title << t.text;
  arg.endStructure();
  return arg;
}
const QDBusArgument& operator>>(const QDBusArgument& arg, ToolTip& t) {
  arg.beginStructure();
  arg >> t.icon >> t.images >> t.title >> t.text;
  arg.endStructure();
  return arg;
}

// A menu item and, nested in variants, its children: (ia{sv}av).
QDBusArgument& operator<<(QDBusArgument& arg, const MenuNode& n) {
  arg.beginStructure();
  arg << n.id << n.properties;
  arg.beginArray(QMetaType::fromType<QDBusVariant>());
  for (const MenuNode& child : n.children) arg << QDBusVariant(QVariant::fromValue(child));
  arg.endArray();
  arg.endStructure();
  return arg;
}
const QDBusArgument& operator>>(const QDBusArgument& arg, MenuNode& n) {
  arg.beginStructure();
  arg >> n.id >> n.properties;
  arg.beginArray();
  n.children.clear();
  while (!arg.atEnd()) {
    QDBusVariant child;
    arg >> child;
    n.children.push_back(qdbus_cast<MenuNode>(child.variant()));
  }
  arg.endArray();
  arg.endStructure();
  return arg;
}

QDBusArgument& operator<<(QDBusArgument& arg, const MenuProperties& p) {
  arg.beginStructure();
  arg << p.id << p.properties;
  arg.endStructure();
  return arg;
}
const QDBusArgument& operator>>(const QDBusArgument& arg, MenuProperties& p) {
  arg.beginStructure();
  arg >> p.id >> p.properties;
  arg.endStructure();
  return arg;
}

}  // namespace qv::ui::sni

namespace qv::ui {

namespace {

using namespace sni;

const QString kItemPath = QStringLiteral("/StatusNotifierItem");
const QString kItemInterface = QStringLiteral("org.kde.StatusNotifierItem");
const QString kMenuPath = QStringLiteral("/MenuBar");
const QString kMenuInterface = QStringLiteral("com.canonical.dbusmenu");
const QString kProperties = QStringLiteral("org.freedesktop.DBus.Properties");
const QString kWatcher = QStringLiteral("org.kde.StatusNotifierWatcher");

void registerTypes() {
  static const bool done = [] {
    qDBusRegisterMetaType<Pixmap>();
    qDBusRegisterMetaType<Pixmaps>();
    qDBusRegisterMetaType<ToolTip>();
    qDBusRegisterMetaType<MenuNode>();
    qDBusRegisterMetaType<MenuProperties>();
    qDBusRegisterMetaType<MenuPropertiesList>();
    return true;
  }();
  (void)done;
}

Pixmaps pixmapsOf(const QIcon& icon) {
  Pixmaps out;
  for (int side : trayIconSizes()) {
    // Device pixels: a ratio of 1, whatever the screen's.
    QImage image =
        icon.pixmap(QSize(side, side), 1.0).toImage().convertToFormat(QImage::Format_ARGB32);
    if (image.isNull()) continue;
    bool known = false;
    for (const Pixmap& p : out) known = known || p.width == image.width();
    if (known) continue;
    Pixmap p{image.width(), image.height(), QByteArray(image.width() * image.height() * 4, '\0')};
    for (int y = 0; y < image.height(); ++y)
      qToBigEndian<quint32>(image.constScanLine(y), image.width(),
                            p.argb.data() + static_cast<qsizetype>(y) * image.width() * 4);
    out << p;
  }
  return out;
}

// Tooltip texts may be read as markup: what the program writes shows as
// written. Line feeds stay line feeds.
QString plainForMarkup(const QString& text) {
  QString out = text;
  out.replace('&', QStringLiteral("&amp;"));
  out.replace('<', QStringLiteral("&lt;"));
  out.replace('>', QStringLiteral("&gt;"));
  return out;
}

void reply(const QDBusMessage& call, const QDBusConnection& bus, const QVariantList& values = {}) {
  bus.send(call.createReply(values));
}

void refuse(const QDBusMessage& call, const QDBusConnection& bus, QDBusError::ErrorType type,
            const QString& why) {
  bus.send(call.createErrorReply(type, why));
}

// Properties.Get, GetAll and Set over a table of read-only properties.
bool answerProperties(const QDBusMessage& call, const QDBusConnection& bus,
                      const QString& interface, const QVariantMap& all) {
  const QVariantList args = call.arguments();
  const QString asked = args.value(0).toString();
  if (!asked.isEmpty() && asked != interface) {
    refuse(call, bus, QDBusError::UnknownInterface, asked);
    return true;
  }
  if (call.member() == QLatin1String("GetAll")) {
    reply(call, bus, {all});
  } else if (call.member() == QLatin1String("Get")) {
    auto it = all.find(args.value(1).toString());
    if (it == all.end())
      refuse(call, bus, QDBusError::UnknownProperty, args.value(1).toString());
    else
      reply(call, bus, {QVariant::fromValue(QDBusVariant(*it))});
  } else if (call.member() == QLatin1String("Set")) {
    refuse(call, bus, QDBusError::PropertyReadOnly, args.value(1).toString());
  } else {
    return false;
  }
  return true;
}

const char* const kItemXml = R"xml(  <interface name="org.kde.StatusNotifierItem">
    <property name="Category" type="s" access="read"/>
    <property name="Id" type="s" access="read"/>
    <property name="Title" type="s" access="read"/>
    <property name="Status" type="s" access="read"/>
    <property name="WindowId" type="i" access="read"/>
    <property name="IconThemePath" type="s" access="read"/>
    <property name="IconName" type="s" access="read"/>
    <property name="IconPixmap" type="a(iiay)" access="read"/>
    <property name="OverlayIconName" type="s" access="read"/>
    <property name="OverlayIconPixmap" type="a(iiay)" access="read"/>
    <property name="AttentionIconName" type="s" access="read"/>
    <property name="AttentionIconPixmap" type="a(iiay)" access="read"/>
    <property name="AttentionMovieName" type="s" access="read"/>
    <property name="ToolTip" type="(sa(iiay)ss)" access="read"/>
    <property name="ItemIsMenu" type="b" access="read"/>
    <property name="Menu" type="o" access="read"/>
    <method name="ContextMenu"><arg name="x" type="i" direction="in"/><arg name="y" type="i" direction="in"/></method>
    <method name="Activate"><arg name="x" type="i" direction="in"/><arg name="y" type="i" direction="in"/></method>
    <method name="SecondaryActivate"><arg name="x" type="i" direction="in"/><arg name="y" type="i" direction="in"/></method>
    <method name="Scroll"><arg name="delta" type="i" direction="in"/><arg name="orientation" type="s" direction="in"/></method>
    <signal name="NewTitle"/>
    <signal name="NewIcon"/>
    <signal name="NewAttentionIcon"/>
    <signal name="NewOverlayIcon"/>
    <signal name="NewToolTip"/>
    <signal name="NewStatus"><arg name="status" type="s"/></signal>
    <signal name="NewIconThemePath"><arg name="icon_theme_path" type="s"/></signal>
  </interface>
)xml";

const char* const kMenuXml = R"xml(  <interface name="com.canonical.dbusmenu">
    <property name="Version" type="u" access="read"/>
    <property name="TextDirection" type="s" access="read"/>
    <property name="Status" type="s" access="read"/>
    <property name="IconThemePath" type="as" access="read"/>
    <method name="GetLayout">
      <arg name="parentId" type="i" direction="in"/>
      <arg name="recursionDepth" type="i" direction="in"/>
      <arg name="propertyNames" type="as" direction="in"/>
      <arg name="revision" type="u" direction="out"/>
      <arg name="layout" type="(ia{sv}av)" direction="out"/>
    </method>
    <method name="GetGroupProperties">
      <arg name="ids" type="ai" direction="in"/>
      <arg name="propertyNames" type="as" direction="in"/>
      <arg name="properties" type="a(ia{sv})" direction="out"/>
    </method>
    <method name="GetProperty">
      <arg name="id" type="i" direction="in"/>
      <arg name="name" type="s" direction="in"/>
      <arg name="value" type="v" direction="out"/>
    </method>
    <method name="Event">
      <arg name="id" type="i" direction="in"/>
      <arg name="eventId" type="s" direction="in"/>
      <arg name="data" type="v" direction="in"/>
      <arg name="timestamp" type="u" direction="in"/>
    </method>
    <method name="EventGroup">
      <arg name="events" type="a(isvu)" direction="in"/>
      <arg name="idErrors" type="ai" direction="out"/>
    </method>
    <method name="AboutToShow">
      <arg name="id" type="i" direction="in"/>
      <arg name="needUpdate" type="b" direction="out"/>
    </method>
    <method name="AboutToShowGroup">
      <arg name="ids" type="ai" direction="in"/>
      <arg name="updatesNeeded" type="ai" direction="out"/>
      <arg name="idErrors" type="ai" direction="out"/>
    </method>
    <signal name="ItemsPropertiesUpdated">
      <arg name="updatedProps" type="a(ia{sv})"/>
      <arg name="removedProps" type="a(ias)"/>
    </signal>
    <signal name="LayoutUpdated">
      <arg name="revision" type="u"/>
      <arg name="parent" type="i"/>
    </signal>
    <signal name="ItemActivationRequested">
      <arg name="id" type="i"/>
      <arg name="timestamp" type="u"/>
    </signal>
  </interface>
)xml";

}  // namespace

// The picture as files of an icon theme of the item's own, one per size.
// Panels that take the largest picture of IconPixmap and scale it down
// (xfce4-panel, waybar) look a named icon up in the theme at the size they
// show, which needs no scaling. A new picture gets a new name, as panels keep
// what they looked up by name; the files of the picture before the last go.
// In the user's runtime directory, which is memory on most systems; what a
// killed program left there goes when the next one starts.
class IconFiles {
 public:
  explicit IconFiles(const QString& connection) {
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (runtime.isEmpty()) return;
    dropStale(runtime);
    const QString root = runtime + QStringLiteral("/quorvane-icons-%1-%2")
                                       .arg(QCoreApplication::applicationPid())
                                       .arg(connection);
    if (!QDir().mkpath(root)) return;
    // Marks the files as this process's while it runs.
    lock_ = std::make_unique<QLockFile>(root + QStringLiteral("/owner.lock"));
    if (!lock_->tryLock(0)) return;
    QString index = QStringLiteral("[Icon Theme]\nName=hicolor\nDirectories=");
    QString dirs;
    for (int side : trayIconSizes()) {
      const QString dir = QStringLiteral("%1x%1/apps").arg(side);
      index += dir + ',';
      dirs += QStringLiteral("\n[%1]\nSize=%2\nType=Fixed\n").arg(dir).arg(side);
      if (!QDir().mkpath(root + QStringLiteral("/hicolor/") + dir)) return;
    }
    QFile file(root + QStringLiteral("/hicolor/index.theme"));
    if (!file.open(QIODevice::WriteOnly) || file.write((index + '\n' + dirs).toUtf8()) < 0) return;
    root_ = root;
  }
  ~IconFiles() {
    if (lock_) lock_->unlock();
    if (!root_.isEmpty()) QDir(root_).removeRecursively();
  }
  IconFiles(const IconFiles&) = delete;
  IconFiles& operator=(const IconFiles&) = delete;

  // The theme's directory; empty where there is none.
  const QString& root() const { return root_; }

  // Writes the icon at every size and returns its name; empty when it could
  // not be written.
  QString write(const QIcon& icon, const QString& stem) {
    if (root_.isEmpty()) return {};
    const QString name = stem + QStringLiteral("-%1").arg(++serial_);
    for (int side : trayIconSizes())
      if (!icon.pixmap(QSize(side, side), 1.0).save(path(side, name), "PNG")) return {};
    names_.push_back(name);
    while (names_.size() > 2) {
      for (int side : trayIconSizes()) QFile::remove(path(side, names_.front()));
      names_.pop_front();
    }
    // Panels look for new icons when the theme's directory changed.
    QFile stamp(root_ + QStringLiteral("/hicolor/changed"));
    stamp.remove();
    stamp.open(QIODevice::WriteOnly);
    return name;
  }

 private:
  QString path(int side, const QString& name) const {
    return root_ + QStringLiteral("/hicolor/%1x%1/apps/").arg(side) + name + QStringLiteral(".png");
  }

  // Files a program that ended without removing them (killed) left behind:
  // their lock is free.
  static void dropStale(const QString& runtime) {
    const QDir parent(runtime);
    for (const QString& dir : parent.entryList({QStringLiteral("quorvane-icons-*")},
                                               QDir::Dirs | QDir::NoDotAndDotDot)) {
      const QString lockPath = parent.filePath(dir) + QStringLiteral("/owner.lock");
      // A directory still being made has no lock yet.
      if (!QFile::exists(lockPath)) continue;
      QLockFile owner(lockPath);
      if (!owner.tryLock(0)) continue;
      owner.unlock();
      QDir(parent.filePath(dir)).removeRecursively();
    }
  }

  std::unique_ptr<QLockFile> lock_;
  QString root_;
  int serial_ = 0;
  std::deque<QString> names_;
};

// The item at /StatusNotifierItem.
class NotifierItem::Item final : public QDBusVirtualObject {
 public:
  Item(NotifierItem& owner, QString name, QString title)
      : owner_(owner), name_(std::move(name)), title_(std::move(title)) {}

  QString introspect(const QString&) const override { return QString::fromLatin1(kItemXml); }
  const QString& name() const { return name_; }

  bool handleMessage(const QDBusMessage& call, const QDBusConnection& bus) override {
    if (call.interface() == kProperties) return answerProperties(call, bus, kItemInterface, all());
    if (!call.interface().isEmpty() && call.interface() != kItemInterface) return false;
    const QString member = call.member();
    int button = member == QLatin1String("Activate")      ? 1
                 : member == QLatin1String("ContextMenu") ? 2
                                                          : 0;
    if (button == 0 && member != QLatin1String("SecondaryActivate") &&
        member != QLatin1String("Scroll"))
      return false;
    reply(call, bus);
    // After this call has returned: what the gesture starts may take the
    // item away.
    if (button != 0)
      QTimer::singleShot(0, &owner_, [owner = &owner_, button] {
        if (owner->activated) owner->activated(button);
      });
    return true;
  }

  // True when the theme's path changed.
  bool setIcon(const QIcon& icon, const QString& name, const QString& themePath) {
    icon_ = icon;
    iconName_ = name;
    pixmaps_.reset();
    if (themePath == themePath_) return false;
    themePath_ = themePath;
    return true;
  }
  void setToolTip(const QString& tip) { tip_ = tip; }

 private:
  QVariantMap all() {
    // Painted when a host asks, once per picture.
    if (!pixmaps_) pixmaps_ = pixmapsOf(icon_);
    return {
        {QStringLiteral("Category"), QStringLiteral("ApplicationStatus")},
        {QStringLiteral("Id"), name_},
        {QStringLiteral("Title"), title_},
        {QStringLiteral("Status"), QStringLiteral("Active")},
        {QStringLiteral("WindowId"), 0},
        {QStringLiteral("IconThemePath"), themePath_},
        {QStringLiteral("IconName"), iconName_},
        {QStringLiteral("IconPixmap"), QVariant::fromValue(*pixmaps_)},
        {QStringLiteral("OverlayIconName"), QString()},
        {QStringLiteral("OverlayIconPixmap"), QVariant::fromValue(Pixmaps{})},
        {QStringLiteral("AttentionIconName"), QString()},
        {QStringLiteral("AttentionIconPixmap"), QVariant::fromValue(Pixmaps{})},
        {QStringLiteral("AttentionMovieName"), QString()},
        // The tooltip in the title, as Qt's own item has it: hosts show the
        // title alone when there is no text.
        {QStringLiteral("ToolTip"), QVariant::fromValue(ToolTip{{}, {}, plainForMarkup(tip_), {}})},
        {QStringLiteral("ItemIsMenu"), false},
        {QStringLiteral("Menu"), QVariant::fromValue(QDBusObjectPath(kMenuPath))},
    };
  }

  NotifierItem& owner_;
  QString name_;
  QString title_;
  QIcon icon_;
  QString iconName_;
  QString themePath_;
  QString tip_;
  std::optional<Pixmaps> pixmaps_;
};

// The menu at /MenuBar: a root (id 0) with one entry per menu item (ids from
// 1 in order).
class NotifierItem::Menu final : public QDBusVirtualObject {
 public:
  explicit Menu(NotifierItem& owner) : owner_(owner) {}

  QString introspect(const QString&) const override { return QString::fromLatin1(kMenuXml); }

  // True when the menu changed.
  bool set(const std::vector<TrayMenuItem>& items) {
    if (items == items_) return false;
    items_ = items;
    ++revision_;
    return true;
  }
  uint revision() const { return revision_; }

  bool handleMessage(const QDBusMessage& call, const QDBusConnection& bus) override {
    if (call.interface() == kProperties)
      return answerProperties(call, bus, kMenuInterface,
                              {{QStringLiteral("Version"), 3u},
                               {QStringLiteral("TextDirection"), QStringLiteral("ltr")},
                               {QStringLiteral("Status"), QStringLiteral("normal")},
                               {QStringLiteral("IconThemePath"), QStringList()}});
    if (!call.interface().isEmpty() && call.interface() != kMenuInterface) return false;
    const QString member = call.member();
    const QVariantList args = call.arguments();
    if (member == QLatin1String("GetLayout")) {
      const int parent = args.value(0).toInt();
      if (!known(parent)) {
        refuse(call, bus, QDBusError::InvalidArgs, QStringLiteral("no menu item %1").arg(parent));
        return true;
      }
      MenuNode node = this->node(parent, args.value(1).toInt(), args.value(2).toStringList());
      reply(call, bus, {revision_, QVariant::fromValue(node)});
    } else if (member == QLatin1String("GetGroupProperties")) {
      QList<int> ids = qdbus_cast<QList<int>>(args.value(0));
      if (ids.isEmpty())
        for (int id = 0; id <= static_cast<int>(items_.size()); ++id) ids << id;
      MenuPropertiesList out;
      for (int id : ids)
        if (known(id)) out << MenuProperties{id, properties(id, args.value(1).toStringList())};
      reply(call, bus, {QVariant::fromValue(out)});
    } else if (member == QLatin1String("GetProperty")) {
      const QVariantMap props =
          known(args.value(0).toInt()) ? properties(args.value(0).toInt(), {}) : QVariantMap();
      auto it = props.find(args.value(1).toString());
      if (it == props.end())
        refuse(call, bus, QDBusError::InvalidArgs, args.value(1).toString());
      else
        reply(call, bus, {QVariant::fromValue(QDBusVariant(*it))});
    } else if (member == QLatin1String("Event")) {
      reply(call, bus);
      event(args.value(0).toInt(), args.value(1).toString());
    } else if (member == QLatin1String("EventGroup")) {
      QList<int> errors;
      std::vector<std::pair<int, QString>> events;
      const QDBusArgument list = args.value(0).value<QDBusArgument>();
      list.beginArray();
      while (!list.atEnd()) {
        int id = 0;
        QString what;
        QDBusVariant data;
        uint timestamp = 0;
        list.beginStructure();
        list >> id >> what >> data >> timestamp;
        list.endStructure();
        if (known(id))
          events.emplace_back(id, what);
        else
          errors << id;
      }
      list.endArray();
      reply(call, bus, {QVariant::fromValue(errors)});
      for (const auto& [id, what] : events) event(id, what);
    } else if (member == QLatin1String("AboutToShow")) {
      reply(call, bus, {false});
    } else if (member == QLatin1String("AboutToShowGroup")) {
      QList<int> errors;
      for (int id : qdbus_cast<QList<int>>(args.value(0)))
        if (!known(id)) errors << id;
      reply(call, bus, {QVariant::fromValue(QList<int>()), QVariant::fromValue(errors)});
    } else {
      return false;
    }
    return true;
  }

 private:
  bool known(int id) const { return id >= 0 && id <= static_cast<int>(items_.size()); }

  QVariantMap properties(int id, const QStringList& wanted) const {
    QVariantMap all;
    if (id == 0) {
      all[QStringLiteral("children-display")] = QStringLiteral("submenu");
    } else {
      const TrayMenuItem& item = items_[static_cast<std::size_t>(id - 1)];
      // An underscore marks the access key; a literal one is doubled.
      all[QStringLiteral("label")] =
          QString::fromStdString(item.text).replace('_', QStringLiteral("__"));
      all[QStringLiteral("enabled")] = item.enabled;
      all[QStringLiteral("visible")] = true;
      all[QStringLiteral("type")] = QStringLiteral("standard");
    }
    if (wanted.isEmpty()) return all;
    QVariantMap some;
    for (const QString& name : wanted)
      if (all.contains(name)) some[name] = all[name];
    return some;
  }

  MenuNode node(int id, int depth, const QStringList& wanted) const {
    MenuNode n{id, properties(id, wanted), {}};
    if (id == 0 && depth != 0)
      for (int child = 1; child <= static_cast<int>(items_.size()); ++child)
        n.children.push_back(node(child, depth - 1, wanted));
    return n;
  }

  void event(int id, const QString& what) {
    if (what != QLatin1String("clicked") || id < 1 || !known(id)) return;
    const TrayMenuItem& item = items_[static_cast<std::size_t>(id - 1)];
    if (!item.enabled) return;
    // After the call has returned: the choice may take the item away.
    QTimer::singleShot(0, &owner_, [owner = &owner_, name = item.name] {
      if (owner->chosen) owner->chosen(name);
    });
  }

  NotifierItem& owner_;
  std::vector<TrayMenuItem> items_;
  uint revision_ = 1;
};

NotifierItem::NotifierItem(QString name, QString title) {
  registerTypes();
  static std::atomic<int> made{0};
  connection_ = QStringLiteral("quorvane-notifier-%1").arg(++made);
  item_ = std::make_unique<Item>(*this, std::move(name), std::move(title));
  menu_ = std::make_unique<Menu>(*this);
  QDBusConnection bus = QDBusConnection::connectToBus(QDBusConnection::SessionBus, connection_);
  if (!bus.isConnected()) return;
  bus.registerVirtualObject(kItemPath, item_.get());
  bus.registerVirtualObject(kMenuPath, menu_.get());
}

NotifierItem::~NotifierItem() {
  // The bus name goes with the connection: hosts drop the item.
  QDBusConnection bus(connection_);
  bus.unregisterObject(kItemPath);
  bus.unregisterObject(kMenuPath);
  QDBusConnection::disconnectFromBus(connection_);
}

bool NotifierItem::show() {
  QDBusConnection bus(connection_);
  if (!bus.isConnected()) return false;
  QDBusMessage call =
      QDBusMessage::createMethodCall(kWatcher, QStringLiteral("/StatusNotifierWatcher"), kWatcher,
                                     QStringLiteral("RegisterStatusNotifierItem"));
  call << bus.baseService();
  // Not waited for: a watcher that hangs must not hold up the program.
  bus.asyncCall(call);
  return true;
}

QString NotifierItem::service() const {
  return QDBusConnection(connection_).baseService();
}

void NotifierItem::setIcon(const QIcon& icon, bool asFiles) {
  QString name;
  if (asFiles) {
    if (!files_) files_ = std::make_unique<IconFiles>(connection_);
    name = files_->write(icon, item_->name());
  }
  const QString themePath = name.isEmpty() ? QString() : files_->root();
  const bool newPath = item_->setIcon(icon, name, themePath);
  QDBusConnection bus(connection_);
  if (newPath) {
    QDBusMessage changed =
        QDBusMessage::createSignal(kItemPath, kItemInterface, QStringLiteral("NewIconThemePath"));
    changed << themePath;
    bus.send(changed);
  }
  bus.send(QDBusMessage::createSignal(kItemPath, kItemInterface, QStringLiteral("NewIcon")));
}

void NotifierItem::setToolTip(const QString& tip) {
  item_->setToolTip(tip);
  QDBusConnection(connection_)
      .send(QDBusMessage::createSignal(kItemPath, kItemInterface, QStringLiteral("NewToolTip")));
}

void NotifierItem::setMenu(const std::vector<TrayMenuItem>& menu) {
  if (!menu_->set(menu)) return;
  QDBusMessage changed =
      QDBusMessage::createSignal(kMenuPath, kMenuInterface, QStringLiteral("LayoutUpdated"));
  changed << menu_->revision() << 0;
  QDBusConnection(connection_).send(changed);
}

}  // namespace qv::ui
