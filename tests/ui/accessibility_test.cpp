// Every control of every window as a screen reader reads it: named by the
// caption it shows (a picture by the caption drawn beside it), described by
// its hint.

#include <gtest/gtest.h>

#include <QAccessible>
#include <QWidget>
#include <string>

#include "runtime/program.h"
#include "support/all_windows.h"
#include "support/fake_platform.h"
#include "ui/qt/form_view.h"
#include "ui/qt/view_host.h"

namespace qv {
namespace {

std::string read(QWidget* widget, QAccessible::Text text) {
  QAccessibleInterface* a = QAccessible::queryAccessibleInterface(widget);
  return a ? a->text(text).toStdString() : "<not accessible>";
}

TEST(Accessibility, EveryControlIsNamedByItsCaptionAndDescribedByItsHint) {
  test::FakePlatform fake;
  Program program(fake.platform);
  ui::ViewHost host(program);
  program.setHost(&host);
  int controls = 0;
  test::forEachWindow(test::AllWindows{}, [&]<class F>() {
    F& form = program.form<F>();
    program.dispatch([&] { form.show(); });
    ui::FormView* view = host.view(form);
    ASSERT_NE(view, nullptr) << form.name();
    for (Control* c : form.controls()) {
      QWidget* w = view->widget(*c);
      if (!w) continue;  // a value holder or a menu item
      SCOPED_TRACE(form.name() + "." + c->name());
      std::string caption = c->accessibleName().empty() ? c->text() : c->accessibleName();
      // A control that shows nothing (an empty field) is named by its frame.
      if (caption.empty() && c->parent()) caption = c->parent()->text();
      EXPECT_EQ(read(w, QAccessible::Name), caption);
      EXPECT_EQ(read(w, QAccessible::Description), c->tooltip());
      ++controls;
    }
  });
  EXPECT_GT(controls, 300) << "windows were not built";
}

// The power-off dialog's picture button is "确定", its hint the question; the
// main window's picture buttons are their captions.
TEST(Accessibility, APictureButtonIsNamedByItsCaptionNotItsHint) {
  test::FakePlatform fake;
  Program program(fake.platform);
  ui::ViewHost host(program);
  program.setHost(&host);
  Form19& dialog = program.form<Form19>();
  Form1& main = program.form<Form1>();
  program.dispatch([&] {
    dialog.show();
    main.show();
  });
  QWidget* confirm = host.view(dialog)->widget(dialog.Command1);
  EXPECT_EQ(read(confirm, QAccessible::Name), "确定");
  EXPECT_EQ(read(confirm, QAccessible::Description), "您确定要关闭计算机吗?");
  QWidget* shutDown = host.view(main)->widget(main.Image9);
  EXPECT_EQ(read(shutDown, QAccessible::Name), "关闭计算机");
  EXPECT_EQ(read(shutDown, QAccessible::Description), "您确定要关闭计算机吗?");
}

}  // namespace
}  // namespace qv
