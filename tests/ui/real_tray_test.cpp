// The tray against a real XEmbed tray host (trayer) on the test's own X
// display, killed and started again as a panel crash or a desktop restart
// would. Runs where the platform is xcb and trayer is installed (ctest's
// ui_real_tray, on a private Xvfb); skipped elsewhere.

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QSystemTrayIcon>
#include <QWidget>
#include <functional>
#include <string>

#include "platform/tray.h"
#include "ui/qt/qt_tray.h"

namespace qv {
namespace {

using ui::QtTray;

constexpr unsigned kAddFields = trayfield::message | trayfield::icon | trayfield::tip;

bool waitFor(const std::function<bool()>& condition, int ms = 10000) {
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

}  // namespace
}  // namespace qv
