// The tray against real tray hosts on the test's own X display and session
// bus, killed and started again as a panel crash or a desktop restart would:
// an XEmbed host (trayer) and a StatusNotifier watcher (a dbusmock). Qt
// decides once per process how it shows its icons, so each host runs in a
// process of its own (ctest's ui_real_tray and ui_notifier_tray, on a private
// Xvfb); skipped elsewhere.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QLockFile>
#include <QProcess>
#include <QStandardPaths>
#include <QSysInfo>
#include <QSystemTrayIcon>
#include <QTemporaryDir>
#include <QWidget>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/tray.h"
#include "ui/qt/notifier_item.h"
#include "ui/qt/qt_tray.h"
#include "ui/qt/tray_picture.h"

namespace qv {
namespace {

using ui::QtTray;

constexpr unsigned kAddFields = trayfield::message | trayfield::icon | trayfield::tip;

// Generous: a loaded machine takes seconds to start a Python D-Bus peer or a
// tray host, and a condition that holds returns at once.
bool waitFor(const std::function<bool()>& condition, int ms = 30000) {
  QElapsedTimer clock;
  clock.start();
  while (!condition()) {
    if (clock.elapsed() > ms) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
  }
  return true;
}

// Qt's dock windows that are shown now, whoever's they are.
int shownDocks() {
  int n = 0;
  for (QWidget* w : QApplication::topLevelWidgets())
    n += w->objectName() == QLatin1String("QSystemTrayIconSys") && w->isVisible();
  return n;
}

// The icon's dock window, known by its role, sits inside the host's panel,
// not on the root window, once the host has taken it.
bool docked(int id) {
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (w->objectName() != QLatin1String("QSystemTrayIconSys") || !w->isVisible() ||
        w->windowRole() != QStringLiteral("quorvane-tray-%1").arg(id))
      continue;
    QProcess info;
    info.start("xwininfo", {"-tree", "-id", QString::number(w->winId())});
    info.waitForFinished(5000);
    const QString out = QString::fromLocal8Bit(info.readAllStandardOutput());
    for (const QString& line : out.split('\n'))
      if (line.trimmed().startsWith("Parent window id:"))
        return !line.contains("(the root window)");
    return false;
  }
  return false;
}

class RealTray : public ::testing::Test {
 protected:
  void SetUp() override {
    if (QGuiApplication::platformName() != "xcb") GTEST_SKIP() << "needs an X display";
    if (QStandardPaths::findExecutable("trayer").isEmpty()) GTEST_SKIP() << "needs trayer";
    if (QSystemTrayIcon::isSystemTrayAvailable()) GTEST_SKIP() << "another tray host runs here";
    startHost();
  }

  void TearDown() override {
    host_.kill();
    host_.waitForFinished();
  }

  void startHost() {
    host_.start("trayer", {"--edge", "top", "--align", "right", "--widthtype", "request",
                           "--height", "24", "--SetDockType", "true"});
    ASSERT_TRUE(waitFor([] { return QSystemTrayIcon::isSystemTrayAvailable(); }))
        << "trayer did not start";
  }

  void killHost() {
    host_.kill();
    host_.waitForFinished();
    ASSERT_TRUE(waitFor([] { return !QSystemTrayIcon::isSystemTrayAvailable(); }));
  }

  QProcess host_;
};

TEST_F(RealTray, AfterAHostRestartTheIconsReturnOnlyThroughAddWithWhatItCarries) {
  QtTray tray;
  ASSERT_TRUE(tray.notify(
      TrayAction::Add,
      TrayIconData{.id = 1, .fields = kAddFields, .tip = "内存使用率：40%\nCPU温度：45℃"}));
  ASSERT_TRUE(tray.notify(TrayAction::Add,
                          TrayIconData{.id = 0, .fields = kAddFields, .tip = "红色:CPU温度"}));
  ASSERT_TRUE(waitFor([&] { return docked(1) && docked(0); }));

  for (int restart = 1; restart <= 2; ++restart) {
    SCOPED_TRACE("restart " + std::to_string(restart));
    killHost();
    ASSERT_TRUE(waitFor([&] { return tray.icon(1) == nullptr && tray.icon(0) == nullptr; }))
        << "the icons outlived their host";
    EXPECT_FALSE(tray.notify(TrayAction::Modify,
                             TrayIconData{.id = 1, .fields = trayfield::tip, .tip = "x"}));

    startHost();
    // Nothing docks into the new host by itself, with the old tooltip.
    waitFor([] { return false; }, 1500);
    EXPECT_EQ(shownDocks(), 0);

    ASSERT_TRUE(tray.notify(TrayAction::Add, TrayIconData{.id = 1, .fields = kAddFields}));
    QSystemTrayIcon* app = tray.icon(1);
    ASSERT_NE(app, nullptr);
    EXPECT_TRUE(waitFor([&] { return docked(1); })) << "the application icon did not dock";
    EXPECT_EQ(app->toolTip(), "");
    EXPECT_FALSE(tray.notify(TrayAction::Add, TrayIconData{.id = 1, .fields = kAddFields}));
    ASSERT_TRUE(
        tray.notify(TrayAction::Modify,
                    TrayIconData{.id = 1, .fields = trayfield::tip, .tip = "CPU温度：46℃"}));
    EXPECT_EQ(app->toolTip(), QString::fromUtf8("CPU温度：46℃"));

    ASSERT_TRUE(tray.notify(TrayAction::Add,
                            TrayIconData{.id = 0, .fields = kAddFields, .tip = "红色:CPU温度"}));
    EXPECT_TRUE(waitFor([&] { return docked(0); })) << "the readout icon did not dock";
    EXPECT_EQ(shownDocks(), 2);
  }
}

class NotifierTray : public ::testing::Test {
 protected:
  void SetUp() override {
    if (QGuiApplication::platformName() != "xcb") GTEST_SKIP() << "needs an X display";
    if (QProcess::execute(kPython, {"-c", "import dbusmock"}) != 0)
      GTEST_SKIP() << "needs python3-dbusmock";
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) GTEST_SKIP() << "needs a session bus";
    if (watcherUp()) GTEST_SKIP() << "another StatusNotifier watcher runs here";
    startWatcher();
  }

  void TearDown() override {
    watcher_.kill();
    watcher_.waitForFinished();
  }

  static bool watcherUp() {
    return QDBusConnection::sessionBus().interface()->isServiceRegistered(kWatcher);
  }

  void startWatcher() {
    log_ = scratch_.filePath(QStringLiteral("calls-%1.log").arg(++starts_));
    watcher_.start(
        kPython, {"-m", "dbusmock", "-t", QUORVANE_TEST_DATA "/dbusmock/status_notifier_watcher.py",
                  "-l", log_});
    ASSERT_TRUE(waitFor(&watcherUp)) << "the watcher did not come up";
  }

  void killWatcher() {
    watcher_.kill();
    watcher_.waitForFinished();
    ASSERT_TRUE(waitFor([] { return !watcherUp(); }));
  }

  // Icons registered with the watcher now running.
  int registrations() const {
    QFile log(log_);
    if (!log.open(QIODevice::ReadOnly)) return 0;
    return QString::fromUtf8(log.readAll()).count("RegisterStatusNotifierItem");
  }

  // A call as a panel makes it; the items answer on this thread.
  static QDBusMessage call(const QString& service, const QString& path, const QString& interface,
                           const QString& member, const QVariantList& args = {}) {
    QDBusMessage m = QDBusMessage::createMethodCall(service, path, interface, member);
    m.setArguments(args);
    return QDBusConnection::sessionBus().call(m, QDBus::BlockWithGui, 5000);
  }

  static QVariant property(const QString& service, const QString& name) {
    QDBusMessage r = call(service, "/StatusNotifierItem", "org.freedesktop.DBus.Properties", "Get",
                          {"org.kde.StatusNotifierItem", name});
    return r.arguments().value(0).value<QDBusVariant>().variant();
  }

  static QString toolTip(const QString& service) {
    const QDBusArgument arg = property(service, "ToolTip").value<QDBusArgument>();
    QString icon, title, text;
    arg.beginStructure();
    arg >> icon;
    arg.beginArray();
    while (!arg.atEnd()) {
      int w, h;
      QByteArray data;
      arg.beginStructure();
      arg >> w >> h >> data;
      arg.endStructure();
    }
    arg.endArray();
    arg >> title >> text;
    arg.endStructure();
    return title + text;
  }

  // The item's pictures, by size, as images.
  static std::vector<std::pair<int, QImage>> iconPixmaps(const QString& service) {
    std::vector<std::pair<int, QImage>> out;
    const QDBusArgument arg = property(service, "IconPixmap").value<QDBusArgument>();
    arg.beginArray();
    while (!arg.atEnd()) {
      int w = 0, h = 0;
      QByteArray data;
      arg.beginStructure();
      arg >> w >> h >> data;
      arg.endStructure();
      EXPECT_EQ(w, h);
      EXPECT_EQ(data.size(), w * h * 4);
      QImage image(w, h, QImage::Format_ARGB32);
      for (int i = 0; i < w * h && i * 4 + 3 < data.size(); ++i) {
        auto b = [&](int k) {
          return static_cast<unsigned>(static_cast<unsigned char>(data[i * 4 + k]));
        };
        image.setPixel(i % w, i / w, (b(0) << 24) | (b(1) << 16) | (b(2) << 8) | b(3));
      }
      out.emplace_back(w, image);
    }
    arg.endArray();
    return out;
  }

  using Entry = std::pair<int, QVariantMap>;
  // The menu's root properties and its entries (id and properties).
  static std::pair<QVariantMap, std::vector<Entry>> layout(const QString& service) {
    QDBusMessage r =
        call(service, "/MenuBar", "com.canonical.dbusmenu", "GetLayout", {0, -1, QStringList()});
    EXPECT_EQ(r.type(), QDBusMessage::ReplyMessage) << r.errorMessage().toStdString();
    const QDBusArgument arg = r.arguments().value(1).value<QDBusArgument>();
    int id = -1;
    QVariantMap root;
    std::vector<Entry> entries;
    arg.beginStructure();
    arg >> id >> root;
    arg.beginArray();
    while (!arg.atEnd()) {
      QDBusVariant child;
      arg >> child;
      const QDBusArgument c = child.variant().value<QDBusArgument>();
      Entry e;
      c.beginStructure();
      c >> e.first >> e.second;
      c.beginArray();
      EXPECT_TRUE(c.atEnd()) << "an entry with entries of its own";
      c.endArray();
      c.endStructure();
      entries.push_back(e);
    }
    arg.endArray();
    arg.endStructure();
    EXPECT_EQ(id, 0);
    return {root, entries};
  }

  static void event(const QString& service, int id, const QString& what) {
    call(service, "/MenuBar", "com.canonical.dbusmenu", "Event",
         {id, what, QVariant::fromValue(QDBusVariant(QString())), 0u});
  }

  static constexpr const char* kPython = "/usr/bin/python3";
  static inline const QString kWatcher = QStringLiteral("org.kde.StatusNotifierWatcher");
  QTemporaryDir scratch_;
  QString log_;
  int starts_ = 0;
  QProcess watcher_;
};

TEST_F(NotifierTray, AfterAWatcherRestartTheIconsReturnOnlyThroughAddWithWhatItCarries) {
  QtTray tray;
  ASSERT_TRUE(tray.notify(
      TrayAction::Add,
      TrayIconData{.id = 1, .fields = kAddFields, .tip = "内存使用率：40%\nCPU温度：45℃"}));
  ASSERT_TRUE(waitFor([&] { return registrations() == 1; })) << "the icon did not register";
  EXPECT_EQ(shownDocks(), 0) << "docked as a window, not registered over D-Bus";
  ASSERT_NE(tray.item(1), nullptr);

  for (int restart = 1; restart <= 2; ++restart) {
    SCOPED_TRACE("restart " + std::to_string(restart));
    killWatcher();
    ASSERT_TRUE(waitFor([&] { return tray.item(1) == nullptr; }))
        << "the icon outlived its watcher";
    startWatcher();
    // Nothing registers with the new watcher by itself, with the old tooltip.
    waitFor([] { return false; }, 1500);
    EXPECT_EQ(registrations(), 0);

    ASSERT_TRUE(tray.notify(TrayAction::Add, TrayIconData{.id = 1, .fields = kAddFields}));
    ASSERT_NE(tray.item(1), nullptr);
    EXPECT_TRUE(waitFor([&] { return registrations() == 1; })) << "the icon did not register";
    EXPECT_EQ(toolTip(tray.item(1)->service()), "");
  }
}

// What a panel reads of the items and does with them, over the bus.
TEST_F(NotifierTray, EachIconIsAnItemOfItsOwnWithItsNamePicturesAndTheProgramsMenu) {
  QtTray tray;
  std::vector<std::pair<int, int>> clicks;
  std::vector<std::pair<int, std::string>> chosen;
  tray.onMouse = [&](int id, int button) { clicks.emplace_back(id, button); };
  tray.onMenu = [&](int id, const std::string& item) { chosen.emplace_back(id, item); };
  const std::vector<TrayMenuItem> menu{{"F33", "退出", true}, {"F34", "a_b", false}};
  const TrayPicture picture{.background = Colour::rgb(255, 0, 0), .text = "100", .fontSize = 7.72};
  ASSERT_TRUE(tray.notify(TrayAction::Add, TrayIconData{.id = 1,
                                                        .fields = kAddFields,
                                                        .tip = "提醒 <b>1</b> & 2\n第二行",
                                                        .menu = menu,
                                                        .name = "quorvane",
                                                        .title = "Quorvane"}));
  ASSERT_TRUE(tray.notify(TrayAction::Add, TrayIconData{.id = 0,
                                                        .fields = kAddFields,
                                                        .menu = menu,
                                                        .name = "quorvane-readout",
                                                        .title = "Quorvane 读数"}));
  ASSERT_TRUE(tray.notify(
      TrayAction::Modify,
      TrayIconData{.id = 0, .fields = trayfield::icon, .drawn = true, .picture = picture}));
  ASSERT_TRUE(waitFor([&] { return registrations() == 2; }));
  const QString app = tray.item(1)->service(), readout = tray.item(0)->service();
  ASSERT_NE(app, readout);

  // Each its own name and title, which panels remember the user's choices by.
  EXPECT_EQ(property(app, "Id").toString(), "quorvane");
  EXPECT_EQ(property(readout, "Id").toString(), "quorvane-readout");
  EXPECT_EQ(property(app, "Title").toString(), "Quorvane");
  EXPECT_EQ(property(readout, "Title").toString(), QString::fromUtf8("Quorvane 读数"));
  // Text that looks like markup shows as written.
  EXPECT_EQ(toolTip(app), QString::fromUtf8("提醒 &lt;b&gt;1&lt;/b&gt; &amp; 2\n第二行"));

  // The picture at every size a panel may want, each painted for its size.
  auto pixmaps = iconPixmaps(readout);
  QList<int> sides;
  for (const auto& [side, image] : pixmaps) {
    sides << side;
    EXPECT_EQ(image,
              ui::paintTrayPicture(picture, side).toImage().convertToFormat(QImage::Format_ARGB32))
        << side;
  }
  EXPECT_EQ(sides, ui::trayIconSizes());
  // And as an icon theme's files, for panels that take the largest picture
  // and scale it down unless they find one by name at the size they show.
  const QString theme = property(readout, "IconThemePath").toString();
  const QString name = property(readout, "IconName").toString();
  ASSERT_FALSE(name.isEmpty());
  EXPECT_TRUE(QFile::exists(theme + "/hicolor/index.theme"));
  for (int side : ui::trayIconSizes())
    EXPECT_EQ(QImage(QStringLiteral("%1/hicolor/%2x%2/apps/%3.png").arg(theme).arg(side).arg(name))
                  .convertToFormat(QImage::Format_ARGB32),
              ui::paintTrayPicture(picture, side).toImage().convertToFormat(QImage::Format_ARGB32))
        << side;
  EXPECT_TRUE(property(app, "IconName").toString().isEmpty()) << "the application's own icon";

  // The menu: the program's entries, a choice reaches the program by name,
  // a disabled one does nothing.
  EXPECT_EQ(property(app, "Menu").value<QDBusObjectPath>().path(), "/MenuBar");
  auto [root, entries] = layout(app);
  EXPECT_EQ(root.value("children-display").toString(), "submenu");
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].second.value("label").toString(), QString::fromUtf8("退出"));
  EXPECT_TRUE(entries[0].second.value("enabled").toBool());
  EXPECT_EQ(entries[1].second.value("label").toString(), "a__b");
  EXPECT_FALSE(entries[1].second.value("enabled").toBool());
  event(readout, entries[1].first, "clicked");
  event(readout, entries[0].first, "hovered");
  event(readout, entries[0].first, "clicked");
  ASSERT_TRUE(waitFor([&] { return !chosen.empty(); }));
  waitFor([] { return false; }, 200);
  EXPECT_EQ(chosen, (std::vector<std::pair<int, std::string>>{{0, "F33"}}));

  // A left click, and the context gesture of a panel without menus.
  call(app, "/StatusNotifierItem", "org.kde.StatusNotifierItem", "Activate", {0, 0});
  call(readout, "/StatusNotifierItem", "org.kde.StatusNotifierItem", "ContextMenu", {0, 0});
  call(app, "/StatusNotifierItem", "org.kde.StatusNotifierItem", "SecondaryActivate", {0, 0});
  ASSERT_TRUE(waitFor([&] { return clicks.size() == 2; }));
  EXPECT_EQ(clicks, (std::vector<std::pair<int, int>>{{1, 1}, {0, 2}}));

  // The item leaves the panel with the icon, even from inside its own menu.
  tray.onMenu = [&](int id, const std::string&) {
    tray.notify(TrayAction::Delete, TrayIconData{.id = id});
  };
  event(app, entries[0].first, "clicked");
  ASSERT_TRUE(waitFor([&] { return tray.item(1) == nullptr; }));
  EXPECT_TRUE(waitFor([&] {
    return !QDBusConnection::sessionBus().interface()->isServiceRegistered(app);
  })) << "the item stayed on the bus";
  // Its files go with it.
  ASSERT_TRUE(tray.notify(TrayAction::Delete, TrayIconData{.id = 0}));
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_FALSE(QFile::exists(theme)) << "the picture's files stayed";
}

TEST_F(NotifierTray, PictureFilesAKilledProgramLeftGoWhenTheNextOneWritesItsOwn) {
  QTemporaryDir runtime;
  qputenv("XDG_RUNTIME_DIR", runtime.path().toUtf8());
  // One left by a program that is gone, one of a program that runs.
  const QString stale = runtime.filePath("quorvane-icons-999999-x");
  const QString live = runtime.filePath("quorvane-icons-1-y");
  QDir().mkpath(stale + "/hicolor");
  QDir().mkpath(live);
  {
    QFile lock(stale + "/owner.lock");
    ASSERT_TRUE(lock.open(QIODevice::WriteOnly));
    lock.write("999999\nquorvane\n" + QSysInfo::machineHostName().toUtf8() + "\n");
  }
  QLockFile running(live + "/owner.lock");
  ASSERT_TRUE(running.tryLock(0));

  {
    QtTray tray;
    ASSERT_TRUE(tray.notify(TrayAction::Add, TrayIconData{.id = 0, .fields = kAddFields}));
    ASSERT_TRUE(
        tray.notify(TrayAction::Modify,
                    TrayIconData{.id = 0,
                                 .fields = trayfield::icon,
                                 .drawn = true,
                                 .picture = {.background = Colour::rgb(255, 0, 0), .text = "45"}}));
    EXPECT_FALSE(QFile::exists(stale));
    EXPECT_TRUE(QFile::exists(live + "/owner.lock"));
    EXPECT_FALSE(property(tray.item(0)->service(), "IconName").toString().isEmpty());
  }
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  // Its own went with it.
  EXPECT_EQ(QDir(runtime.path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot),
            QStringList{"quorvane-icons-1-y"});
  qunsetenv("XDG_RUNTIME_DIR");
}

}  // namespace
}  // namespace qv
