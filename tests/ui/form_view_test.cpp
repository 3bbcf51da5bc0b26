// The generic view, offscreen: widgets follow the model and user input
// reaches it.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QWidget>

#include "runtime/program.h"
#include "support/fake_platform.h"
#include "ui/qt/form_view.h"
#include "ui/qt/view_host.h"

namespace qv {
namespace {

struct Sample : Form {
  static constexpr int kNumber = 17;
  explicit Sample(Program& p)
      : Form(p, "Sample", {.caption = "样本", .width = 6000, .height = 3000}) {}
  // clang-format off
  Label Label1{*this, "Label1", {120, 120, 1500, 300}, {.text = "CPU温度"}};
  Label Hidden{*this, "Hidden", {9000, 120, 600, 300}};
  Label Reading{*this, "Reading", {3000, 120, 1500, 600},
                {.text = "45", .font = Font{.size = 20, .bold = true}, .fit = true}};
  CheckBox Check1{*this, "Check1", {120, 600, 2000, 300}, {.text = "取消报警声音"}};
  OptionButton Option1{*this, "Option1", {120, 1000, 1500, 300}, {.value = 1}};
  OptionButton Option2{*this, "Option2", {1800, 1000, 1500, 300}};
  ComboBox Combo1{*this, "Combo1", {120, 1500, 1200, 315}, {.text = "72", .items = {"71", "72"}}};
  ComboBox Combo2{*this, "Combo2", {1500, 1500, 1200, 315},
                  {.style = ComboStyle::PickOnly, .items = {"0", "1"}}};
  CommandButton Command1{*this, "Command1", {3000, 2000, 1200, 400}, {.text = "应用"}};
  // clang-format on
};

class View : public ::testing::Test {
 protected:
  void SetUp() override {
    program.setHost(&host);
    program.dispatch([&] { program.form<Sample>().show(); });
  }
  Sample& form() { return program.form<Sample>(); }
  template <class W>
  W* widget(const Control& c) {
    return qobject_cast<W*>(host.view(form())->widget(c));
  }

  test::FakePlatform fake;
  Program program{fake.platform};
  ui::ViewHost host{program};
};

TEST_F(View, BuildsWidgetsAtTwipGeometryAndSkipsHiddenHolders) {
  auto* label = widget<QLabel>(form().Label1);
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(label->text(), "CPU温度");
  EXPECT_EQ(label->geometry(), QRect(8, 8, 100, 20));
  EXPECT_EQ(host.view(form())->window()->size(), QSize(400, 200));
  EXPECT_EQ(host.view(form())->window()->windowTitle(), "样本");
  EXPECT_EQ(host.view(form())->widget(form().Hidden), nullptr);
}

TEST_F(View, ModelChangesRepaintTheWidgets) {
  form().Label1.setText("45.5");
  form().Label1.setForeColour(colours::warning);
  form().Check1.setValue(1);
  form().Option2.setValue(true);
  form().Combo2.setText("1");
  EXPECT_EQ(widget<QLabel>(form().Label1)->text(), "45.5");
  EXPECT_EQ(widget<QLabel>(form().Label1)->palette().color(QPalette::WindowText),
            QColor(255, 128, 0));
  EXPECT_TRUE(widget<QCheckBox>(form().Check1)->isChecked());
  EXPECT_FALSE(widget<QRadioButton>(form().Option1)->isChecked());
  EXPECT_EQ(widget<QComboBox>(form().Combo2)->currentIndex(), 1);
}

TEST_F(View, AFittedReadingShrinksOnlyWhileItsTextIsTooWide) {
  auto* label = widget<QLabel>(form().Reading);
  ASSERT_NE(label, nullptr);
  auto fits = [&] { return label->fontMetrics().horizontalAdvance(label->text()) <= 98; };
  EXPECT_EQ(label->font().pointSizeF(), 20);

  form().Reading.setText("45.123456");
  EXPECT_LT(label->font().pointSizeF(), 20);
  EXPECT_GT(label->font().pointSizeF(), 10);
  EXPECT_TRUE(fits());
  form().Reading.setText("45.1234567");  // still too wide: shrinks further
  EXPECT_TRUE(fits());

  form().Reading.setText("46");
  EXPECT_EQ(label->font().pointSizeF(), 20);

  // A new font from the model applies even where the size stays.
  form().Reading.setFont({.size = 20, .bold = false});
  EXPECT_FALSE(label->font().bold());
  EXPECT_EQ(label->font().pointSizeF(), 20);
  form().Reading.setFontSize(12);
  EXPECT_EQ(label->font().pointSizeF(), 12);
  form().Reading.setText("47");
  EXPECT_EQ(label->font().pointSizeF(), 12);
}

TEST_F(View, ClicksAndPicksReachTheModel) {
  int pressed = 0;
  form().Command1.onClick = [&] { ++pressed; };
  widget<QPushButton>(form().Command1)->click();
  EXPECT_EQ(pressed, 1);

  widget<QCheckBox>(form().Check1)->click();
  EXPECT_EQ(form().Check1.value(), 1);
  widget<QRadioButton>(form().Option2)->click();
  EXPECT_TRUE(form().Option2.value());
  EXPECT_FALSE(widget<QRadioButton>(form().Option1)->isChecked());

  emit widget<QComboBox>(form().Combo2)->activated(1);
  EXPECT_EQ(form().Combo2.text(), "1");
}

TEST_F(View, AssistiveTechnologyTogglesReachTheModelToo) {
  // A screen reader's toggle calls toggle(), which is not a click.
  widget<QCheckBox>(form().Check1)->toggle();
  EXPECT_EQ(form().Check1.value(), 1);
  widget<QCheckBox>(form().Check1)->toggle();
  EXPECT_EQ(form().Check1.value(), 0);
  widget<QRadioButton>(form().Option2)->toggle();
  EXPECT_TRUE(form().Option2.value());
  // Toggling a selected option does not clear it: option buttons only select.
  widget<QRadioButton>(form().Option2)->toggle();
  EXPECT_TRUE(form().Option2.value());
  EXPECT_TRUE(widget<QRadioButton>(form().Option2)->isChecked());
}

TEST_F(View, AGrayedBoxClickedBecomesTicked) {
  form().Check1.setValue(2);
  widget<QCheckBox>(form().Check1)->click();
  EXPECT_EQ(form().Check1.value(), 1);
  EXPECT_EQ(widget<QCheckBox>(form().Check1)->checkState(), Qt::Checked);
}

TEST_F(View, TypingGoesThroughTheModelsKeyFilter) {
  auto* edit = widget<QComboBox>(form().Combo1)->lineEdit();
  form().Combo1.acceptKey = [](char32_t key) { return key != U'9'; };
  edit->setFocus();
  edit->end(false);
  QTest::keyClicks(edit, "595");
  EXPECT_EQ(form().Combo1.text(), "7255");
  EXPECT_EQ(edit->text(), "7255");
}

TEST_F(View, TheCloseBoxAsksTheModel) {
  bool asked = false;
  form().onCloseRequest = [&] {
    asked = true;
    return true;  // refused
  };
  host.view(form())->window()->close();
  EXPECT_TRUE(asked);
  EXPECT_TRUE(form().loaded());

  form().onCloseRequest = nullptr;
  host.view(form())->window()->close();
  EXPECT_EQ(program.existing<Sample>(), nullptr);
}

}  // namespace
}  // namespace qv
