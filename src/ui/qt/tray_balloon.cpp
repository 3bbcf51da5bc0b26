#include "ui/qt/tray_balloon.h"

#include <QApplication>
#include <QGridLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QStyle>
#include <QToolTip>

namespace qv::ui {

TrayBalloon::TrayBalloon()
    : QWidget(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      icon_(this),
      title_(this),
      text_(this) {
  setAttribute(Qt::WA_DeleteOnClose, false);
  setPalette(QToolTip::palette());
  QFont bold = title_.font();
  bold.setBold(true);
  title_.setFont(bold);
  title_.setTextFormat(Qt::PlainText);
  text_.setTextFormat(Qt::PlainText);
  text_.setWordWrap(true);
  for (QLabel* l : {&title_, &text_}) l->setForegroundRole(QPalette::ToolTipText);

  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(10, 8, 10, 10);
  grid->setHorizontalSpacing(8);
  grid->addWidget(&icon_, 0, 0, 2, 1, Qt::AlignTop);
  grid->addWidget(&title_, 0, 1);
  grid->addWidget(&text_, 1, 1);
  grid->setColumnStretch(1, 1);

  timeout_.setSingleShot(true);
  QObject::connect(&timeout_, &QTimer::timeout, this, &QWidget::hide);
}

void TrayBalloon::showMessage(const QString& title, const QString& text,
                              QSystemTrayIcon::MessageIcon kind, const QRect& anchor,
                              int timeoutMs) {
  QStyle::StandardPixmap standard = kind == QSystemTrayIcon::Warning ? QStyle::SP_MessageBoxWarning
                                    : kind == QSystemTrayIcon::Critical
                                        ? QStyle::SP_MessageBoxCritical
                                        : QStyle::SP_MessageBoxInformation;
  if (kind == QSystemTrayIcon::NoIcon) {
    icon_.clear();
    icon_.hide();
  } else {
    const int size = style()->pixelMetric(QStyle::PM_SmallIconSize);
    icon_.setPixmap(style()->standardIcon(standard).pixmap(size, size));
    icon_.show();
  }
  title_.setText(title);
  title_.setVisible(!title.isEmpty());
  text_.setText(text);
  // As wide as the text needs, up to a third of a small screen.
  text_.setMinimumWidth(std::min(text_.fontMetrics().horizontalAdvance(text) + 4, 320));
  adjustSize();
  place(anchor);
  show();
  raise();
  if (timeoutMs > 0)
    timeout_.start(timeoutMs);
  else
    timeout_.stop();
}

void TrayBalloon::place(const QRect& anchor) {
  QScreen* screen = anchor.isEmpty() ? QGuiApplication::primaryScreen()
                                     : QGuiApplication::screenAt(anchor.center());
  if (!screen) screen = QGuiApplication::primaryScreen();
  const QRect room = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
  QPoint at;
  if (anchor.isEmpty()) {
    at = QPoint(room.right() - width(), room.bottom() - height());
  } else {
    // Below an icon in the upper half of the screen, above one in the lower.
    const bool below = anchor.center().y() < room.center().y();
    at = QPoint(anchor.center().x() - width() / 2,
                below ? anchor.bottom() + 4 : anchor.top() - height() - 4);
  }
  at.setX(std::clamp(at.x(), room.left(), std::max(room.left(), room.right() - width())));
  at.setY(std::clamp(at.y(), room.top(), std::max(room.top(), room.bottom() - height())));
  move(at);
}

void TrayBalloon::mousePressEvent(QMouseEvent* event) {
  event->accept();
  timeout_.stop();
  hide();
}

void TrayBalloon::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), palette().color(QPalette::ToolTipBase));
  p.setPen(palette().color(QPalette::ToolTipText));
  p.drawRect(rect().adjusted(0, 0, -1, -1));
}

}  // namespace qv::ui
