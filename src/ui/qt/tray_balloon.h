#pragma once
// A balloon message beside the tray icon, for trays that dock the icon
// themselves (XEmbed), and in the corner of the screen where a D-Bus tray has
// no notification service beside it. Qt's own balloon there is a new window for every
// message, and each one leaves memory behind: pixmaps its style caches under
// the new window's palette, and a little more. A monitor that warns every
// minute for days would grow without end, so one window is made and shown
// again for every message. Closes after its time or when clicked.

#include <QLabel>
#include <QRect>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QWidget>

namespace qv::ui {

class TrayBalloon final : public QWidget {
 public:
  TrayBalloon();

  // Shows the message next to `anchor` (the icon's place on the screen; an
  // empty one puts the balloon in the corner of the screen), replacing the
  // one shown.
  void showMessage(const QString& title, const QString& text, QSystemTrayIcon::MessageIcon kind,
                   const QRect& anchor, int timeoutMs = 10000);

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  void place(const QRect& anchor);

  QLabel icon_;
  QLabel title_;
  QLabel text_;
  QTimer timeout_;
};

}  // namespace qv::ui
