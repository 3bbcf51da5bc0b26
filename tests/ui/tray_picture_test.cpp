// The readout picture, offscreen: every reading whole inside the square at
// every size, crisp at tray sizes, and each size painted for itself.

#include <gtest/gtest.h>

#include <QColor>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QPoint>
#include <QRect>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/tray.h"
#include "ui/qt/tray_picture.h"

namespace qv {
namespace {

constexpr Colour kRed = Colour::rgb(255, 0, 0);
constexpr Colour kGreen = Colour::rgb(0, 192, 0);

QImage render(const TrayPicture& picture, int size) {
  return ui::paintTrayPicture(picture, size).toImage().convertToFormat(QImage::Format_RGB32);
}

TrayPicture reading(const std::string& text, Colour background, double fontSize) {
  return TrayPicture{.background = background, .text = text, .fontSize = fontSize};
}

QColor qcolor(Colour c) {
  return QColor(c.red(), c.green(), c.blue());
}

// Whether p lies between the background and the text colour, as an
// antialiased edge pixel would; anything else is a stray colour.
bool isBlend(QColor p, QColor bg, QColor fg) {
  int channels[3][3] = {{p.red(), bg.red(), fg.red()},
                        {p.green(), bg.green(), fg.green()},
                        {p.blue(), bg.blue(), fg.blue()}};
  auto widest = std::max_element(std::begin(channels), std::end(channels), [](auto& a, auto& b) {
    return std::abs(a[2] - a[1]) < std::abs(b[2] - b[1]);
  });
  double t = double((*widest)[0] - (*widest)[1]) / ((*widest)[2] - (*widest)[1]);
  if (t < -0.01 || t > 1.01) return false;
  for (auto& c : channels)
    if (std::abs(c[0] - (c[1] + t * (c[2] - c[1]))) > 3) return false;
  return true;
}

// The bounding box of the pixels that are not the background.
QRect ink(const QImage& image, QColor bg) {
  QRect box;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (image.pixelColor(x, y) != bg) box |= QRect(x, y, 1, 1);
  return box;
}

// Every text the picture shows: the readings from 0 to 100 (at 100 the
// program asks for its smaller font) and the weekday.
struct Case {
  std::string text;
  double fontSize;
  Colour background = kRed;
};
const Case kReadings[] = {{"0", 8.8},  {"9", 8.8},    {"42", 8.8},
                          {"99", 8.8}, {"100", 7.72}, {"三", 8.8, kGreen}};

// The sizes trays ask for, and those of screens at 1.25 and 2 times.
std::vector<int> sides() {
  std::vector<int> out{20, 44, 64};
  for (int side : ui::trayIconSizes()) out.push_back(side);
  return out;
}

TEST(PictureText, EveryReadingFitsWholeInsideAMarginAtEverySize) {
  for (const Case& c : kReadings)
    for (int side : sides()) {
      SCOPED_TRACE("\"" + c.text + "\" at " + std::to_string(side) + " px");
      const TrayPicture picture = reading(c.text, c.background, c.fontSize);
      QImage image = render(picture, side);
      QColor bg = qcolor(c.background);

      // No text on the edge rows and columns; only blends of the two colours.
      for (int i = 0; i < side; ++i)
        for (QPoint p : {QPoint(i, 0), QPoint(i, side - 1), QPoint(0, i), QPoint(side - 1, i)})
          ASSERT_EQ(image.pixelColor(p), bg) << "text at the edge, " << p.x() << "," << p.y();
      for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x)
          ASSERT_TRUE(isBlend(image.pixelColor(x, y), bg, Qt::white)) << x << "," << y;

      // Nothing cut: the text drawn without the square around it is the
      // same text, and nothing of it lies outside.
      const ui::TrayPictureText text = ui::trayPictureText(picture, side);
      const int pad = side;
      QImage free(side + 2 * pad, side + 2 * pad, QImage::Format_RGB32);
      free.fill(bg);
      QPainter painter(&free);
      painter.setFont(text.font);
      painter.setPen(Qt::white);
      painter.drawText(text.origin + QPoint(pad, pad + QFontMetrics(text.font).ascent()),
                       QString::fromStdString(c.text));
      painter.end();
      EXPECT_EQ(free.copy(pad, pad, side, side), image) << "the text is cut";
      EXPECT_EQ(ink(free, bg), ink(image, bg).translated(pad, pad)) << "the text is cut";

      // Still a reading: at least two fifths of the square high.
      EXPECT_GE(ink(image, bg).height(), 0.4 * side);
    }
}

TEST(PictureText, KeepsTheDesignSizeWhereItFitsAndShrinksOnlyWhatMustShrink) {
  // At 16 px, 8.8 points are 12 pixels.
  EXPECT_EQ(ui::trayPictureText(reading("9", kRed, 8.8), 16).font.pixelSize(), 12);
  EXPECT_EQ(ui::trayPictureText(reading("9", kRed, 8.8), 32).font.pixelSize(), 23);
  EXPECT_LT(ui::trayPictureText(reading("45.5", kRed, 8.8), 16).font.pixelSize(), 12);
  // The text is drawn as it is: "45.5" is not shortened to fit.
  QImage whole = render(reading("45.5", kRed, 8.8), 16);
  EXPECT_NE(whole, render(reading("45", kRed, 8.8), 16));
  EXPECT_NE(whole, render(reading("45.", kRed, 8.8), 16));
  EXPECT_EQ(whole.pixelColor(15, 8), qcolor(kRed));
}

TEST(PictureText, SmallSizesHaveNoHalfToneEdges) {
  // At tray sizes a grey edge pixel only blurs the digits.
  for (int size : {16, 22, 24, 32}) {
    QImage image = render(reading("45.5", kRed, 8.8), size);
    for (int y = 0; y < size; ++y)
      for (int x = 0; x < size; ++x) {
        QColor p = image.pixelColor(x, y);
        ASSERT_TRUE(p == Qt::red || p == Qt::white)
            << size << " px: " << p.name().toStdString() << " at " << x << "," << y;
      }
  }
}

TEST(PictureText, EmptyTextIsJustTheBackground) {
  QImage image = render(reading("", kRed, 8.8), 16);
  EXPECT_EQ(ink(image, Qt::red), QRect());
}

TEST(PictureIcon, CarriesEverySizePaintedForThatSize) {
  TrayPicture picture = reading("45.5", kRed, 8.8);
  QIcon icon = ui::trayPictureIcon(picture);
  for (int size : ui::trayIconSizes()) {
    EXPECT_TRUE(icon.availableSizes().contains(QSize(size, size))) << size;
    QImage fromIcon = icon.pixmap(size).toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(fromIcon, render(picture, size)) << size;
  }
  // A tray that docks icons itself paints the icon into its square.
  QImage painted(22, 22, QImage::Format_RGB32);
  painted.fill(Qt::black);
  QPainter painter(&painted);
  icon.paint(&painter, painted.rect());
  painter.end();
  EXPECT_EQ(painted, render(picture, 22));
}

}  // namespace
}  // namespace qv
