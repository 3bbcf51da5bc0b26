#include "ui/qt/look.h"

#include <QFontDatabase>
#include <QHash>
#include <QPainter>
#include <QPainterPath>

namespace qv::ui {

QColor toQColor(Colour c) {
  return QColor(c.red(), c.green(), c.blue());
}

QFont toQFont(const Font& font) {
  static QHash<QString, QString> families;
  QString wanted = QString::fromStdString(font.name);
  auto it = families.find(wanted);
  if (it == families.end()) {
    QString family = QFontDatabase::hasFamily(wanted)
                         ? wanted
                         : QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
    it = families.insert(wanted, family);
  }
  QFont f(*it);
  f.setPointSizeF(font.size);
  f.setBold(font.bold);
  f.setItalic(font.italic);
  f.setUnderline(font.underline);
  f.setStyleHint(QFont::SansSerif);
  // Chinese, Latin letters and digits need no OpenType shaping, and shaping
  // each changed reading was the larger part of repainting it. Scripts that
  // need shaping still get it.
  f.setStyleStrategy(QFont::PreferNoShaping);
  // The layout was made for Tahoma, a narrow face; where a wider face stands
  // in, its condensed cut keeps numbers within their fields.
  if (*it != wanted) f.setStretch(QFont::SemiCondensed);
  return f;
}

namespace {

// A thermometer over a small bar chart: the program's icon.
QPixmap drawApplicationIcon(int size) {
  QPixmap pm(size, size);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(size / 32.0, size / 32.0);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(47, 198, 230));
  p.drawRoundedRect(QRectF(1, 1, 30, 30), 6, 6);
  p.setBrush(Qt::white);
  p.drawRoundedRect(QRectF(12, 4, 8, 18), 4, 4);
  p.drawEllipse(QRectF(9, 17, 14, 14));
  p.setBrush(QColor(230, 60, 40));
  p.drawRect(QRectF(14.5, 10, 3, 12));
  p.drawEllipse(QRectF(11.5, 19.5, 9, 9));
  return pm;
}

QPixmap drawGlyph(const QString& name, int size) {
  QPixmap pm(size, size);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(size / 32.0, size / 32.0);
  QPen pen(QColor(0, 150, 170), 2.5, Qt::SolidLine, Qt::RoundCap);
  p.setPen(pen);
  if (name == "running") {
    p.setBrush(QColor(0, 190, 0));
    p.setPen(Qt::NoPen);
    p.drawEllipse(QRectF(6, 6, 20, 20));
  } else if (name == "stopped") {
    p.setBrush(QColor(200, 40, 40));
    p.setPen(Qt::NoPen);
    p.drawRect(QRectF(7, 7, 18, 18));
  } else if (name == "power" || name == "shutdown") {
    p.drawArc(QRectF(6, 7, 20, 20), 120 * 16, 300 * 16);
    p.drawLine(QPointF(16, 4), QPointF(16, 16));
  } else if (name == "display") {
    p.drawRect(QRectF(4, 6, 24, 16));
    p.drawLine(QPointF(16, 22), QPointF(16, 27));
    p.drawLine(QPointF(10, 27), QPointF(22, 27));
  } else if (name == "internet") {
    p.drawEllipse(QRectF(4, 4, 24, 24));
    p.drawEllipse(QRectF(11, 4, 10, 24));
    p.drawLine(QPointF(4, 16), QPointF(28, 16));
  } else if (name == "exit") {
    p.drawRect(QRectF(5, 5, 14, 22));
    p.drawLine(QPointF(14, 16), QPointF(28, 16));
    p.drawLine(QPointF(23, 11), QPointF(28, 16));
    p.drawLine(QPointF(23, 21), QPointF(28, 16));
  } else if (name == "settings") {
    p.drawEllipse(QRectF(10, 10, 12, 12));
    for (int k = 0; k < 8; ++k) {
      p.save();
      p.translate(16, 16);
      p.rotate(45.0 * k);
      p.drawLine(QPointF(0, 8), QPointF(0, 12));
      p.restore();
    }
  } else if (name == "confirm") {
    p.drawLine(QPointF(6, 17), QPointF(13, 24));
    p.drawLine(QPointF(13, 24), QPointF(26, 8));
  } else if (name == "cancel") {
    p.drawLine(QPointF(8, 8), QPointF(24, 24));
    p.drawLine(QPointF(24, 8), QPointF(8, 24));
  } else if (name == "warning") {
    p.setPen(QPen(QColor(230, 120, 0), 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolygon(QPolygonF({QPointF(16, 4), QPointF(29, 27), QPointF(3, 27)}));
    p.drawLine(QPointF(16, 12), QPointF(16, 19));
    p.drawPoint(QPointF(16, 23));
  } else if (name == "information") {
    p.drawEllipse(QRectF(4, 4, 24, 24));
    p.drawLine(QPointF(16, 14), QPointF(16, 22));
    p.drawPoint(QPointF(16, 10));
  } else {
    p.drawRect(QRectF(6, 6, 20, 20));
  }
  return pm;
}

// A frame of the waiting animation: a green open ring on light grey, turned
// a fifth of a turn further in each frame.
QPixmap drawRing(int frame, QSize size) {
  QPixmap pm(size);
  pm.fill(QColor(219, 230, 232));
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  int side = std::min(size.width(), size.height()) * 6 / 10;
  QRectF box((size.width() - side) / 2.0, (size.height() - side) / 2.0, side, side);
  QPen pen(QColor(112, 227, 0), side / 6.0, Qt::SolidLine, Qt::RoundCap);
  p.setPen(pen);
  int start = 90 * 16 - (frame - 1) * 72 * 16;
  p.drawArc(box, start, -270 * 16);
  return pm;
}

const char* themeName(const QString& name) {
  if (name == "power") return "preferences-system-power";
  if (name == "display") return "video-display";
  if (name == "shutdown") return "system-shutdown";
  if (name == "internet") return "preferences-system-network";
  if (name == "exit") return "application-exit";
  if (name == "settings") return "preferences-system";
  if (name == "confirm") return "dialog-ok";
  if (name == "cancel") return "dialog-cancel";
  if (name == "warning") return "dialog-warning";
  if (name == "information") return "dialog-information";
  return nullptr;
}

}  // namespace

QIcon applicationIcon() {
  static QIcon icon = [] {
    QIcon i;
    for (int s : {16, 22, 24, 32, 48, 64}) i.addPixmap(drawApplicationIcon(s));
    return i;
  }();
  return icon;
}

QIcon picture(const std::string& nameIn) {
  static QHash<QString, QIcon> cache;
  QString name = QString::fromStdString(nameIn);
  auto it = cache.find(name);
  if (it != cache.end()) return *it;
  QIcon icon;
  if (name == "app") {
    icon = applicationIcon();
  } else if (name.startsWith("ring")) {
    icon.addPixmap(drawRing(name.mid(4).toInt(), QSize(103, 86)));
  } else {
    if (const char* theme = themeName(name)) icon = QIcon::fromTheme(QString::fromLatin1(theme));
    if (icon.isNull())
      for (int s : {16, 32, 48}) icon.addPixmap(drawGlyph(name, s));
  }
  return *cache.insert(name, icon);
}

}  // namespace qv::ui
