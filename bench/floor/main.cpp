// The least a Qt Widgets tray program can cost: a window of four labels (a
// Chinese caption and a number each, so the CJK font is loaded as in the
// monitor) and one tray icon whose picture is repainted with a number every
// 6 s. The yardstick for bench/footprint.sh.

#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QWidget>

namespace {

QIcon numberIcon(int n) {
  QPixmap pm(16, 16);
  pm.fill(QColor(0, 192, 0));
  QPainter p(&pm);
  QFont font;
  font.setPixelSize(11);
  p.setFont(font);
  p.setPen(Qt::white);
  p.drawText(pm.rect(), Qt::AlignCenter, QString::number(n));
  return QIcon(pm);
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);

  QWidget window;
  window.setWindowTitle(QStringLiteral("托盘基准"));
  auto* grid = new QGridLayout(&window);
  const char* captions[] = {"CPU温度 45℃", "内存使用率 37%", "CPU使用率 12%", "硬盘温度 38℃"};
  for (int i = 0; i < 4; ++i) grid->addWidget(new QLabel(QString::fromUtf8(captions[i])), i, 0);
  window.show();

  QSystemTrayIcon tray(numberIcon(0));
  tray.setToolTip(QStringLiteral("托盘基准"));
  tray.show();

  int n = 0;
  QTimer tick;
  QObject::connect(&tick, &QTimer::timeout, [&] { tray.setIcon(numberIcon(++n % 100)); });
  tick.start(6000);
  return QApplication::exec();
}
