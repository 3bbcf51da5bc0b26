// The tray's notify() contract, offscreen. There is no tray host here, so
// most cases stand one in through the availability hook.

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QSystemTrayIcon>
#include <QTextDocument>
#include <string>
#include <utility>
#include <vector>

#include "platform/tray.h"
#include "ui/qt/look.h"
#include "ui/qt/qt_tray.h"
#include "ui/qt/tray_balloon.h"
#include "ui/qt/tray_picture.h"

namespace qv {
namespace {

using ui::QtTray;

constexpr unsigned kAddFields = trayfield::message | trayfield::icon | trayfield::tip;

TrayIconData appIcon(std::string tip = "") {
  return TrayIconData{.id = 1, .fields = kAddFields, .tip = std::move(tip)};
}

TrayIconData readout(std::string text) {
  return TrayIconData{.id = 0,
                      .fields = trayfield::icon,
                      .drawn = true,
                      .picture = {.background = Colour::rgb(255, 0, 0), .text = std::move(text)}};
}

QImage image(const QIcon& icon) {
  return icon.pixmap(16).toImage().convertToFormat(QImage::Format_RGB32);
}

// What a tooltip shows: Qt takes text that looks like markup as rich text.
QString shown(const QString& tip) {
  if (!Qt::mightBeRichText(tip)) return tip;
  QTextDocument doc;
  doc.setHtml(tip);
  return doc.toPlainText();
}

class Tray : public ::testing::Test {
 protected:
  bool host = true;
  QtTray tray{[this] { return host ? ui::TrayHost::Dock : ui::TrayHost::None; }};
  std::vector<std::pair<int, int>> clicks;

  void SetUp() override {
    tray.onMouse = [this](int id, int button) { clicks.emplace_back(id, button); };
  }
};

TEST(TrayWithoutHost, RefusesEverythingAndCreatesNothing) {
  if (ui::runningTrayHost() != ui::TrayHost::None) GTEST_SKIP() << "a tray host is running";
  QtTray tray;
  EXPECT_FALSE(tray.notify(TrayAction::Add, appIcon()));
  EXPECT_EQ(tray.icon(1), nullptr);
  EXPECT_FALSE(tray.notify(TrayAction::Modify, appIcon("tip")));
  EXPECT_FALSE(tray.notify(TrayAction::Delete, appIcon()));
}

TEST_F(Tray, AddShowsTheIconOnceAndRefusesItAgain) {
  ASSERT_TRUE(tray.notify(TrayAction::Add, appIcon("CPU温度：45℃")));
  QSystemTrayIcon* icon = tray.icon(1);
  ASSERT_NE(icon, nullptr);
  EXPECT_TRUE(icon->isVisible());
  EXPECT_EQ(icon->toolTip(), QString::fromUtf8("CPU温度：45℃"));
  EXPECT_EQ(image(icon->icon()), image(ui::applicationIcon()));
  EXPECT_EQ(icon->contextMenu(), nullptr);

  EXPECT_FALSE(tray.notify(TrayAction::Add, appIcon("other")));
  EXPECT_EQ(tray.icon(1), icon);
  EXPECT_EQ(icon->toolTip(), QString::fromUtf8("CPU温度：45℃"));

  // Icons are independent by id.
  EXPECT_TRUE(tray.notify(TrayAction::Add, TrayIconData{.id = 0, .fields = kAddFields}));
  EXPECT_NE(tray.icon(0), icon);
}

TEST_F(Tray, ModifyChangesOnlyTheFieldsItCarries) {
  ASSERT_TRUE(tray.notify(
      TrayAction::Add,
      TrayIconData{.id = 0, .fields = kAddFields, .tip = "红色:CPU温度\n绿色:CPU使用率/星期"}));
  QSystemTrayIcon* icon = tray.icon(0);
  ASSERT_NE(icon, nullptr);

  // A new picture leaves the tooltip alone, even if the record still has one.
  TrayIconData picture = readout("45.5");
  picture.tip = "stale";
  ASSERT_TRUE(tray.notify(TrayAction::Modify, picture));
  EXPECT_EQ(image(icon->icon()), image(ui::trayPictureIcon(picture.picture)));
  EXPECT_EQ(icon->toolTip(), QString::fromUtf8("红色:CPU温度\n绿色:CPU使用率/星期"));

  // A balloon leaves the picture and the tooltip alone.
  QImage before = image(icon->icon());
  ASSERT_TRUE(tray.notify(TrayAction::Modify, TrayIconData{.id = 0,
                                                           .fields = trayfield::info,
                                                           .infoText = "CPU温度：80℃",
                                                           .infoTitle = "警告(CPU温度)",
                                                           .infoKind = 2}));
  EXPECT_EQ(image(icon->icon()), before);
  EXPECT_EQ(icon->toolTip(), QString::fromUtf8("红色:CPU温度\n绿色:CPU使用率/星期"));

  // Back to the application's icon.
  ASSERT_TRUE(tray.notify(TrayAction::Modify, TrayIconData{.id = 0, .fields = trayfield::icon}));
  EXPECT_EQ(image(icon->icon()), image(ui::applicationIcon()));
}

// The program's balloons on screen, and what each says, title first.
std::vector<std::pair<QWidget*, QStringList>> balloons() {
  std::vector<std::pair<QWidget*, QStringList>> out;
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (!w->isVisible() || !(w->windowFlags() & Qt::ToolTip)) continue;
    QStringList texts;
    for (QLabel* l : w->findChildren<QLabel*>())
      if (l->isVisible() && !l->text().isEmpty()) texts << l->text();
    out.emplace_back(w, texts);
  }
  return out;
}

TEST_F(Tray, BalloonsReuseOneWindowThatShowsTheLatestMessage) {
  ASSERT_TRUE(tray.notify(TrayAction::Add, appIcon()));
  auto message = [](int i) {
    return TrayIconData{.id = 1,
                        .fields = trayfield::info,
                        .infoText = "CPU使用率：" + std::to_string(i) + "%",
                        .infoTitle = "提示(CPU使用率)",
                        .infoKind = 1};
  };
  ASSERT_TRUE(tray.notify(TrayAction::Modify, message(0)));
  const auto first = balloons();
  ASSERT_EQ(first.size(), 1u);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  const auto windows = QApplication::topLevelWidgets().size();
  for (int i = 1; i < 50; ++i) ASSERT_TRUE(tray.notify(TrayAction::Modify, message(i)));
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(QApplication::topLevelWidgets().size(), windows);
  const auto last = balloons();
  ASSERT_EQ(last.size(), 1u);
  EXPECT_EQ(last[0].first, first[0].first) << "a new window for a new message";
  EXPECT_EQ(last[0].second, (QStringList{QString::fromUtf8("提示(CPU使用率)"),
                                         QString::fromUtf8("CPU使用率：49%")}));
}

TEST_F(Tray, TooltipShowsExactlyTheText) {
  ASSERT_TRUE(tray.notify(TrayAction::Add, appIcon()));
  std::string longChinese;
  for (int i = 0; i < 100; ++i) longChinese += "温";
  for (const std::string& tip :
       {std::string("内存使用率：40%\nCPU温度：45℃\nCPU使用率：3%"), longChinese,
        std::string("<b>提醒</b>\n1 < 2 & 3"), std::string("")}) {
    ASSERT_TRUE(tray.notify(TrayAction::Modify,
                            TrayIconData{.id = 1, .fields = trayfield::tip, .tip = tip}));
    EXPECT_EQ(shown(tray.icon(1)->toolTip()).toStdString(), tip);
  }
}

TEST_F(Tray, DeleteRemovesTheIconAndOnlyOnce) {
  EXPECT_FALSE(tray.notify(TrayAction::Modify, appIcon()));
  EXPECT_FALSE(tray.notify(TrayAction::Delete, appIcon()));
  ASSERT_TRUE(tray.notify(TrayAction::Add, appIcon()));
  QPointer<QSystemTrayIcon> icon = tray.icon(1);
  ASSERT_TRUE(tray.notify(TrayAction::Delete, TrayIconData{.id = 1}));
  EXPECT_EQ(tray.icon(1), nullptr);
  ASSERT_FALSE(icon.isNull());
  EXPECT_FALSE(icon->isVisible());
  EXPECT_FALSE(tray.notify(TrayAction::Delete, TrayIconData{.id = 1}));
  EXPECT_FALSE(tray.notify(TrayAction::Modify, appIcon("tip")));
  // Deleted icons can be added afresh.
  EXPECT_TRUE(tray.notify(TrayAction::Add, appIcon()));
}

TEST_F(Tray, LeftClickAndContextGestureReachTheProgram) {
  ASSERT_TRUE(tray.notify(TrayAction::Add, appIcon()));
  ASSERT_TRUE(tray.notify(TrayAction::Add, readout("45")));
  struct {
    int id;
    QSystemTrayIcon::ActivationReason reason;
    int button;  // 0: nothing reaches the program
  } cases[] = {{1, QSystemTrayIcon::Trigger, 1},     {0, QSystemTrayIcon::Trigger, 1},
               {1, QSystemTrayIcon::Context, 2},     {0, QSystemTrayIcon::Context, 2},
               {1, QSystemTrayIcon::DoubleClick, 0}, {1, QSystemTrayIcon::MiddleClick, 0},
               {1, QSystemTrayIcon::Unknown, 0}};
  for (const auto& c : cases) {
    clicks.clear();
    emit tray.icon(c.id)->activated(c.reason);
    std::vector<std::pair<int, int>> expected;
    if (c.button != 0) expected.emplace_back(c.id, c.button);
    EXPECT_EQ(clicks, expected) << "icon " << c.id << " reason " << c.reason;
  }
}

TEST_F(Tray, TheMenuMayDeleteTheIconFromItsOwnClick) {
  ASSERT_TRUE(tray.notify(TrayAction::Add, appIcon()));
  tray.onMouse = [this](int id, int) { tray.notify(TrayAction::Delete, TrayIconData{.id = id}); };
  emit tray.icon(1)->activated(QSystemTrayIcon::Context);
  EXPECT_EQ(tray.icon(1), nullptr);
}

// A restarted tray host knows none of the old icons; as with the program's
// own model of the tray, each comes back only through the next Add and shows
// what that Add carries: the application icon an empty tooltip.
TEST_F(Tray, IconsGoWithTheirHostAndComeBackOnlyThroughTheNextAdd) {
  enum class Learnt { AtAnAdd, FromTheDockWindow };
  for (Learnt learnt : {Learnt::AtAnAdd, Learnt::FromTheDockWindow}) {
    SCOPED_TRACE(learnt == Learnt::AtAnAdd ? "host seen gone at an add" : "dock window gone");
    ASSERT_TRUE(tray.notify(TrayAction::Add, appIcon("CPU温度：45℃")));
    ASSERT_TRUE(tray.notify(TrayAction::Add, readout("45")));
    QPointer<QSystemTrayIcon> old = tray.icon(1);

    if (learnt == Learnt::AtAnAdd) {
      host = false;
      EXPECT_FALSE(tray.notify(TrayAction::Add, appIcon()));
      EXPECT_FALSE(tray.notify(TrayAction::Add, readout("45")));
      host = true;
    } else {
      tray.hostChanged();
      QCoreApplication::processEvents();
    }
    // Gone: the old icon shows nowhere, and nothing can change it.
    EXPECT_EQ(tray.icon(1), nullptr);
    EXPECT_EQ(tray.icon(0), nullptr);
    EXPECT_TRUE(old.isNull() || !old->isVisible());
    EXPECT_FALSE(tray.notify(TrayAction::Modify, appIcon("CPU温度：46℃")));
    EXPECT_FALSE(tray.notify(TrayAction::Delete, appIcon()));

    ASSERT_TRUE(tray.notify(TrayAction::Add, appIcon()));
    QSystemTrayIcon* back = tray.icon(1);
    ASSERT_NE(back, nullptr);
    EXPECT_TRUE(back->isVisible());
    EXPECT_EQ(back->toolTip(), "");
    EXPECT_FALSE(tray.notify(TrayAction::Add, appIcon("CPU温度：45℃")));
    EXPECT_TRUE(tray.notify(TrayAction::Modify, appIcon("CPU温度：47℃")));
    EXPECT_EQ(back->toolTip(), QString::fromUtf8("CPU温度：47℃"));
    EXPECT_TRUE(tray.notify(TrayAction::Add, readout("45")));

    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(old.isNull()) << "the old icon stays behind";
    ASSERT_TRUE(tray.notify(TrayAction::Delete, appIcon()));
    ASSERT_TRUE(tray.notify(TrayAction::Delete, readout("")));
  }
}

}  // namespace
}  // namespace qv
