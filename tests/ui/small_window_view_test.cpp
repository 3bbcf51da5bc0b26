// A small window kept on top, offscreen: it opens after the windows its
// handler opens (where the desktop stacks windows as they open, it comes up
// above them), and its title bar leaves its caption room.

#include <gtest/gtest.h>

#include <QApplication>
#include <QEvent>
#include <QFont>
#include <QFontMetrics>
#include <QStringList>
#include <QWidget>

#include "runtime/program.h"
#include "support/fake_platform.h"
#include "ui/qt/form_view.h"
#include "ui/qt/view_host.h"

namespace qv {
namespace {

struct Big : Form {
  static constexpr int kNumber = 17;
  explicit Big(Program& p)
      : Form(p, "Big", {.caption = "Quorvane", .width = 6000, .height = 3000}) {}
};

struct Small : Form {
  static constexpr int kNumber = 3;
  explicit Small(Program& p)
      : Form(p, "Small",
             {.caption = "检测中...",
              .width = 1605,
              .height = 1035,
              .topmost = true,
              .toolWindow = true}) {}
};

// The order in which top-level windows are shown.
struct ShowOrder : QObject {
  QStringList shown;
  bool eventFilter(QObject* o, QEvent* e) override {
    if (e->type() == QEvent::Show && o->isWidgetType() && static_cast<QWidget*>(o)->isWindow())
      shown << o->objectName();
    return false;
  }
};

TEST(SmallWindow, OpensAfterTheWindowsItsHandlerOpensAndItsCaptionHasRoom) {
  test::FakePlatform fake;
  Program program{fake.platform};
  ui::ViewHost host{program};
  program.setHost(&host);
  ShowOrder order;
  qApp->installEventFilter(&order);
  program.dispatch([&] {
    program.form<Small>().show();
    program.form<Big>().show();
  });
  qApp->removeEventFilter(&order);
  EXPECT_EQ(order.shown, (QStringList{"Big", "Small"}));

  QWidget* window = host.view(program.form<Small>())->window();
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(window->isVisible());
  EXPECT_TRUE(window->windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_TRUE(window->windowFlags() & Qt::WindowCloseButtonHint);
  EXPECT_FALSE(window->windowFlags() &
               (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));

  // The date's caption, with room beside it for a desktop's icon and buttons
  // on both sides; the readings keep their place.
  EXPECT_GE(window->width(), 107);
  program.dispatch([&] { program.form<Small>().setCaption("12月19日(三)"); });
  QFont bold = window->font();
  bold.setBold(true);
  const QFontMetrics metrics(bold);
  EXPECT_GE(window->width(), metrics.horizontalAdvance("12月19日(三)") + 6 * metrics.height());
  EXPECT_EQ(window->height(), 69);
  // Hidden and shown again by one handler, it stays up.
  program.dispatch([&] {
    program.form<Small>().hide();
    program.form<Small>().show();
  });
  EXPECT_TRUE(window->isVisible());
}

}  // namespace
}  // namespace qv
