#include "ui/qt/tray_picture.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QIconEngine>
#include <QImage>
#include <QPainter>
#include <QScreen>
#include <algorithm>
#include <cmath>
#include <map>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "display/picture_layout.h"
#include "ui/qt/look.h"

namespace qv::ui {

namespace {

// Below this size a pixel is too coarse for grey edge pixels: solid
// one-bit glyphs on the hinting grid read better than smoothed ones.
constexpr int kSmoothFrom = 48;

// The readout was laid out for Tahoma, a narrow face. Where it is missing a
// narrow face stands in, so that "100" still reads at 16 px: the first of
// these that is installed.
constexpr const char* kNarrowFaces[] = {"Nimbus Sans Narrow", "Liberation Sans Narrow",
                                        "DejaVu Sans Condensed", "Arial Narrow"};

// The face for a design's font name, and whether it is a wide stand-in.
std::pair<QString, bool> pictureFace(const std::string& name) {
  static std::map<std::string, std::pair<QString, bool>> faces;
  auto it = faces.find(name);
  if (it != faces.end()) return it->second;
  const QString wanted = QString::fromStdString(name);
  std::pair<QString, bool> face{QFontDatabase::systemFont(QFontDatabase::GeneralFont).family(),
                                true};
  if (QFontDatabase::hasFamily(wanted)) {
    face = {wanted, false};
  } else {
    for (const char* narrow : kNarrowFaces)
      if (QFontDatabase::hasFamily(QString::fromLatin1(narrow))) {
        face = {QString::fromLatin1(narrow), false};
        break;
      }
  }
  return faces.emplace(name, face).first->second;
}

QFont makeFont(const TrayPicture& picture, int pixelSize, int sizePx) {
  const auto [family, wide] = pictureFace(picture.fontName);
  QFont font(family);
  font.setStyleHint(QFont::SansSerif);
  // Whole pixel sizes keep the hinting exact.
  font.setPixelSize(std::max(1, pixelSize));
  font.setHintingPreference(QFont::PreferFullHinting);
  // Grey edges only: colour fringes would show on the coloured square.
  font.setStyleStrategy(QFont::StyleStrategy(
      (sizePx < kSmoothFrom ? QFont::NoAntialias : QFont::NoSubpixelAntialias) |
      QFont::PreferNoShaping));
  // No narrow face at all: the desktop's own, condensed where it can be.
  if (wide) font.setStretch(QFont::SemiCondensed);
  return font;
}

// The fonts are kept: a font in use keeps its glyphs cached, while Qt's font
// cache drops idle ones within seconds, and loading hinted glyphs again for
// every picture was most of its cost. A handful of sizes are ever asked for.
const QFont& pictureFont(const TrayPicture& picture, int pixelSize, int sizePx) {
  static std::map<std::tuple<std::string, int, bool>, QFont> fonts;
  auto key = std::make_tuple(picture.fontName, pixelSize, sizePx < kSmoothFrom);
  auto it = fonts.find(key);
  if (it == fonts.end()) {
    if (fonts.size() >= 64) fonts.clear();
    it = fonts.emplace(key, makeFont(picture, pixelSize, sizePx)).first;
  }
  return it->second;
}

// What the text covers in a font, drawn as the picture draws it: hinted
// glyphs differ from the outlines the font's metrics describe.
InkBox inkOf(const QFont& font, const QString& text) {
  const QFontMetrics metrics(font);
  const int pad = font.pixelSize() + 2;
  QImage image(metrics.horizontalAdvance(text) + 2 * pad, metrics.height() + 2 * pad,
               QImage::Format_RGB32);
  image.fill(Qt::black);
  QPainter painter(&image);
  painter.setFont(font);
  painter.setPen(Qt::white);
  painter.drawText(QPoint(pad, pad + metrics.ascent()), text);
  painter.end();
  InkBox box{image.width(), image.height(), 0, 0};
  for (int y = 0; y < image.height(); ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = 0; x < image.width(); ++x)
      if (qRed(line[x]) != 0) {
        box.left = std::min(box.left, x);
        box.right = std::max(box.right, x + 1);
        box.top = std::min(box.top, y);
        box.bottom = std::max(box.bottom, y + 1);
      }
  }
  if (box.empty()) return {};
  return {box.left - pad, box.top - pad, box.right - pad, box.bottom - pad};
}

}  // namespace

QList<int> trayIconSizes() {
  QList<int> sizes{16, 22, 24, 32, 48};
  for (const QScreen* screen : QGuiApplication::screens()) {
    const qreal ratio = screen->devicePixelRatio();
    if (ratio <= 1) continue;
    for (int side : {16, 22, 24}) {
      const int scaled = static_cast<int>(std::lround(side * ratio));
      if (scaled <= 64 && !sizes.contains(scaled)) sizes << scaled;
    }
  }
  std::sort(sizes.begin(), sizes.end());
  return sizes;
}

TrayPictureText trayPictureText(const TrayPicture& picture, int sizePx) {
  // Measuring takes a few drawings; the display cycle brings the same
  // pictures round again and again.
  using Key = std::tuple<std::string, std::string, double, int, int, int>;
  static std::map<Key, PictureText> laid;
  const Key key{picture.fontName, picture.text, picture.fontSize, picture.x, picture.y, sizePx};
  auto it = laid.find(key);
  if (it == laid.end()) {
    if (laid.size() >= 256) laid.clear();
    const QString text = QString::fromStdString(picture.text);
    it = laid.emplace(key, layOutPictureText(picture, sizePx,
                                             [&](int pixelSize) {
                                               return inkOf(pictureFont(picture, pixelSize, sizePx),
                                                            text);
                                             }))
             .first;
  }
  return {pictureFont(picture, it->second.pixelSize, sizePx), QPoint(it->second.x, it->second.y)};
}

QPixmap paintTrayPicture(const TrayPicture& picture, int sizePx) {
  sizePx = std::max(1, sizePx);
  QPixmap pixmap(sizePx, sizePx);
  pixmap.fill(toQColor(picture.background));
  if (picture.text.empty()) return pixmap;

  const TrayPictureText text = trayPictureText(picture, sizePx);
  QPainter painter(&pixmap);
  painter.setFont(text.font);
  painter.setPen(toQColor(picture.textColour));
  painter.setClipRect(0, 0, sizePx, sizePx);
  // The origin is the top left of the line; the baseline sits the font's
  // ascent below it. Whole pixels, so no glyph straddles a pixel edge.
  painter.drawText(QPoint(text.origin.x(), text.origin.y() + QFontMetrics(text.font).ascent()),
                   QString::fromStdString(picture.text));
  return pixmap;
}

namespace {

// Paints the picture at the size it is asked for, when it is asked for: a
// tray shows one size, and painting the others was most of what a new
// picture cost.
class PictureEngine final : public QIconEngine {
 public:
  explicit PictureEngine(TrayPicture picture) : picture_(std::move(picture)) {}

  void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
    qreal ratio = painter->device() ? painter->device()->devicePixelRatio() : 1.0;
    QPixmap pm = pixmap(rect.size() * ratio, mode, state);
    pm.setDevicePixelRatio(ratio);
    painter->drawPixmap(rect, pm);
  }

  QPixmap pixmap(const QSize& size, QIcon::Mode, QIcon::State) override {
    int side = std::max(1, std::min(size.width(), size.height()));
    for (const QPixmap& pm : painted_)
      if (pm.width() == side) return pm;
    if (painted_.size() >= 10) painted_.erase(painted_.begin());
    painted_.push_back(paintTrayPicture(picture_, side));
    return painted_.back();
  }

  QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override {
    int side = std::min(size.width(), size.height());
    return {side, side};
  }

  QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override {
    QList<QSize> sizes;
    for (int side : trayIconSizes()) sizes << QSize(side, side);
    return sizes;
  }

  QString key() const override { return QStringLiteral("quorvane-tray-picture"); }
  QIconEngine* clone() const override { return new PictureEngine(*this); }

 private:
  TrayPicture picture_;
  std::vector<QPixmap> painted_;
};

}  // namespace

QIcon trayPictureIcon(const TrayPicture& picture) {
  // The display cycle brings the same few pictures round again and again
  // (temperatures seldom change): the last ones are kept, newest first.
  static std::vector<std::pair<TrayPicture, QIcon>> recent;
  auto it = std::find_if(recent.begin(), recent.end(),
                         [&](const auto& entry) { return entry.first == picture; });
  if (it == recent.end()) {
    if (recent.size() >= 8) recent.pop_back();
    recent.emplace(recent.begin(), picture, QIcon(new PictureEngine(picture)));
  } else {
    std::rotate(recent.begin(), it, it + 1);
  }
  return recent.front().second;
}

}  // namespace qv::ui
