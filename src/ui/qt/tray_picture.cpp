#include "ui/qt/tray_picture.h"

#include <QFontMetrics>
#include <QIconEngine>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <map>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "ui/qt/look.h"

namespace qv::ui {

namespace {

// Below this size a pixel is too coarse for grey edge pixels: solid
// one-bit glyphs on the hinting grid read better than smoothed ones.
constexpr int kSmoothFrom = 48;

QFont makeFont(const TrayPicture& picture, double scale, int sizePx) {
  QFont font = toQFont(Font{.name = picture.fontName, .size = picture.fontSize});
  // Points as they come out at 96 dpi, whatever the screen's dpi: the layout
  // is in pixels of the square. Whole pixel sizes keep the hinting exact.
  double pixels = picture.fontSize * 96.0 / 72.0 * scale;
  font.setPixelSize(std::max(1, static_cast<int>(std::lround(pixels))));
  font.setHintingPreference(QFont::PreferFullHinting);
  // Grey edges only: colour fringes would show on the coloured square.
  font.setStyleStrategy(QFont::StyleStrategy(
      (sizePx < kSmoothFrom ? QFont::NoAntialias : QFont::NoSubpixelAntialias) |
      QFont::PreferNoShaping));
  // The readout was laid out for Tahoma, a narrow face: two digits fill the
  // square. The usual replacements are wider, so take their condensed face
  // where they have one and the number stays readable.
  if (font.family() != QString::fromStdString(picture.fontName))
    font.setStretch(QFont::SemiCondensed);
  return font;
}

// The fonts are kept: a font in use keeps its glyphs cached, while Qt's font
// cache drops idle ones within seconds, and loading hinted glyphs again for
// every picture was most of its cost. A handful of sizes are ever asked for.
const QFont& pictureFont(const TrayPicture& picture, double scale, int sizePx) {
  static std::map<std::tuple<std::string, double, int>, QFont> fonts;
  auto key = std::make_tuple(picture.fontName, picture.fontSize, sizePx);
  auto it = fonts.find(key);
  if (it == fonts.end()) {
    if (fonts.size() >= 64) fonts.clear();
    it = fonts.emplace(key, makeFont(picture, scale, sizePx)).first;
  }
  return it->second;
}

}  // namespace

QPixmap paintTrayPicture(const TrayPicture& picture, int sizePx) {
  sizePx = std::max(1, sizePx);
  QPixmap pixmap(sizePx, sizePx);
  pixmap.fill(toQColor(picture.background));
  if (picture.text.empty()) return pixmap;

  double scale = sizePx / 16.0;
  const QFont& font = pictureFont(picture, scale, sizePx);
  QPainter painter(&pixmap);
  painter.setFont(font);
  painter.setPen(toQColor(picture.textColour));
  painter.setClipRect(0, 0, sizePx, sizePx);
  // (x, y) is the top left of the text line, as on a printing surface; the
  // baseline sits the font's ascent below it. Whole pixels, so no glyph
  // straddles a pixel edge.
  int x = static_cast<int>(std::lround(picture.x * scale));
  int y = static_cast<int>(std::lround(picture.y * scale));
  painter.drawText(QPoint(x, y + QFontMetrics(font).ascent()),
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
    if (painted_.size() >= 6) painted_.erase(painted_.begin());
    painted_.push_back(paintTrayPicture(picture_, side));
    return painted_.back();
  }

  QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override {
    int side = std::min(size.width(), size.height());
    return {side, side};
  }

  QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override {
    return {{16, 16}, {22, 22}, {24, 24}, {32, 32}, {48, 48}};
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
