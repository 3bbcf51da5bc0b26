// The reminder slots window as the user sees it: 24 framed rows of three
// choosers at their places, none covering another, all inside the window;
// typing reaches the choosers' rules.

#include <gtest/gtest.h>

#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLineEdit>
#include <QTest>
#include <QWidget>
#include <vector>

#include "forms/form17.h"
#include "runtime/program.h"
#include "schedule/reminder_slots.h"
#include "support/fake_platform.h"
#include "ui/qt/form_view.h"
#include "ui/qt/view_host.h"

namespace qv {
namespace {

QRect px(const Twips& t) {
  return {t.left / 15, t.top / 15, t.width / 15, t.height / 15};
}

class SlotsView : public ::testing::Test {
 protected:
  void SetUp() override {
    program.setHost(&host);
    installReminderSlots(program);
    program.dispatch([&] { program.form<Form17>().show(); });
  }
  Form17& form() { return program.form<Form17>(); }
  QWidget* window() { return host.view(form())->window(); }
  QWidget* widget(const Control& c) { return host.view(form())->widget(c); }
  // Where a control's widget sits in the window's client area.
  QRect inWindow(const Control& c) {
    QWidget* w = widget(c);
    return {w->mapTo(window(), QPoint(0, 0)), w->size()};
  }

  test::FakePlatform fake;
  Program program{fake.platform};
  ui::ViewHost host{program};
};

TEST_F(SlotsView, FramesAndChoosersSitAtTheirPlacesInsideTheWindowWithoutCoveringEachOther) {
  ASSERT_NE(window(), nullptr);
  EXPECT_EQ(window()->size(), QSize(825, 634));
  const QRect client(QPoint(0, 0), window()->size());

  std::vector<QRect> frames, choosers;
  for (int k = 0; k < Form17::kSlots; ++k) {
    SCOPED_TRACE(k);
    auto* frame = qobject_cast<QGroupBox*>(widget(form().Slot[k]));
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->title(), QString::number(k));
    EXPECT_EQ(frame->parentWidget(), widget(form().Frame1));
    EXPECT_EQ(frame->geometry(), px(Form17::slotAt(k)));
    frames.push_back(inWindow(form().Slot[k]));
    for (int f = 0; f < 3; ++f) {
      ComboBox& combo = form().Combo.number(3 * k + f + 1);
      ASSERT_NE(qobject_cast<QComboBox*>(widget(combo)), nullptr);
      EXPECT_EQ(widget(combo)->parentWidget(), frame);
      EXPECT_EQ(widget(combo)->geometry(), px(Form17::fieldAt(f)));
      choosers.push_back(inWindow(combo));
    }
    EXPECT_EQ(widget(form().Colon[k])->parentWidget(), frame);
  }
  EXPECT_EQ(form().hour(23).name(), "Combo70");
  EXPECT_EQ(form().message(23).name(), "Combo72");

  for (std::size_t i = 0; i < choosers.size(); ++i) {
    SCOPED_TRACE(form().Combo[static_cast<int>(i)].name());
    const std::size_t own = i / 3;
    EXPECT_TRUE(frames[own].contains(choosers[i]));
    for (std::size_t j = i + 1; j < choosers.size(); ++j)
      EXPECT_FALSE(choosers[i].intersects(choosers[j]));
    for (std::size_t k = 0; k < frames.size(); ++k)
      EXPECT_TRUE(k == own || !frames[k].intersects(choosers[i])) << k;
    EXPECT_FALSE(inWindow(form().Colon[static_cast<int>(own)]).intersects(choosers[i]));
  }
  // Rows are 720 twips apart and 735 high: a frame's bottom border row is
  // the next one's top row, the empty line above its caption. Nothing more
  // is shared.
  for (std::size_t a = 0; a < frames.size(); ++a)
    for (std::size_t b = a + 1; b < frames.size(); ++b) {
      QRect shared = frames[a] & frames[b];
      bool neighbours = b == a + 1 && a != 11;
      EXPECT_EQ(shared.isEmpty() ? 0 : shared.height(), neighbours ? 1 : 0) << a << " " << b;
    }

  for (Control* c : form().controls()) {
    SCOPED_TRACE(c->name());
    ASSERT_NE(widget(*c), nullptr);
    EXPECT_TRUE(client.contains(inWindow(*c)));
  }
  // Below the frames: the buttons and the balloon option.
  for (Control* c : std::vector<Control*>{&form().Command1, &form().Command3, &form().Command2,
                                          &form().Check1}) {
    EXPECT_FALSE(inWindow(form().Frame1).intersects(inWindow(*c))) << c->name();
    EXPECT_EQ(inWindow(*c).top(), c->top() / 15);
  }

  // The widest texts, for the screenshot: "停用", two-digit times, 28
  // characters.
  program.dispatch([&] {
    form().hour(0).setText("停用");
    form().hour(13).setText("23");
    form().minute(13).setText("59");
    form().message(13).setText("二十八个字的提醒内容二十八个字的提醒内容二十八个字的提醒");
    form().Check1.setValue(1);
  });
  const QString out = QStringLiteral(QUORVANE_UI_OUT);
  QDir().mkpath(out);
  EXPECT_TRUE(window()->grab().save(out + "/form17.png"));
}

TEST_F(SlotsView, TypedKeysReachTheRulesOfTheChoosers) {
  QLineEdit* hour = qobject_cast<QComboBox*>(widget(form().hour(0)))->lineEdit();
  QLineEdit* message = qobject_cast<QComboBox*>(widget(form().message(0)))->lineEdit();
  hour->setFocus();
  QTest::keyClicks(hour, "8");
  EXPECT_EQ(hour->text(), "");
  message->setFocus();
  QTest::keyClicks(message, "abcdefghijklmnopqrstuvwxyz1234");
  EXPECT_EQ(form().message(0).text(), "abcdefghijklmnopqrstuvwxyz12");
  EXPECT_EQ(message->text(), "abcdefghijklmnopqrstuvwxyz12");
  EXPECT_EQ(message->cursorPosition(), 28);
}

}  // namespace
}  // namespace qv
