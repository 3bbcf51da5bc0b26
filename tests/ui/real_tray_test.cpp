// The tray against real tray hosts on the test's own X display and session
// bus, killed and started again as a panel crash or a desktop restart would:
// an XEmbed host (trayer) and a StatusNotifier watcher (a dbusmock). Qt
// decides once per process how it shows its icons, so each host runs in a
// process of its own (ctest's ui_real_tray and ui_notifier_tray, on a private
// Xvfb); skipped elsewhere.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QSystemTrayIcon>
#include <QTemporaryDir>
#include <QWidget>
#include <functional>
#include <string>

#include "platform/tray.h"
#include "ui/qt/qt_tray.h"

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

  for (int restart = 1; restart <= 2; ++restart) {
    SCOPED_TRACE("restart " + std::to_string(restart));
    killWatcher();
    ASSERT_TRUE(waitFor([&] { return tray.icon(1) == nullptr; }))
        << "the icon outlived its watcher";
    startWatcher();
    // Nothing registers with the new watcher by itself, with the old tooltip.
    waitFor([] { return false; }, 1500);
    EXPECT_EQ(registrations(), 0);

    ASSERT_TRUE(tray.notify(TrayAction::Add, TrayIconData{.id = 1, .fields = kAddFields}));
    ASSERT_NE(tray.icon(1), nullptr);
    EXPECT_TRUE(waitFor([&] { return registrations() == 1; })) << "the icon did not register";
    EXPECT_EQ(tray.icon(1)->toolTip(), "");
  }
}

}  // namespace
}  // namespace qv
