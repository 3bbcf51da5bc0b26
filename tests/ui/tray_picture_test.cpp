// The readout picture, offscreen: background, where the text lands, and
// that the text is neither shortened nor shrunk to fit.

#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QRect>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <ostream>
#include <string>

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

struct Case {
  std::string text;
  Colour background;
  double fontSize;
  int size;
};

void PrintTo(const Case& c, std::ostream* os) {
  *os << '"' << c.text << "\" at " << c.fontSize << " pt, " << c.size << " px";
}

class Picture : public ::testing::TestWithParam<Case> {};

TEST_P(Picture, TextSitsBelowRightOfTheOriginOnAPlainBackground) {
  const Case& c = GetParam();
  QImage image = render(reading(c.text, c.background, c.fontSize), c.size);
  ASSERT_EQ(image.size(), QSize(c.size, c.size));
  QColor bg = qcolor(c.background);
  double scale = c.size / 16.0;
  int origin = int(std::lround(2 * scale));

  int white = 0;
  for (int y = 0; y < c.size; ++y)
    for (int x = 0; x < c.size; ++x) {
      QColor p = image.pixelColor(x, y);
      if (x < origin || y < origin) {
        EXPECT_EQ(p, bg) << "outside the text at " << x << "," << y;
        continue;
      }
      EXPECT_TRUE(isBlend(p, bg, Qt::white))
          << "stray colour " << p.name().toStdString() << " at " << x << "," << y;
      if (p == Qt::white) ++white;
    }
  EXPECT_GE(white, c.size) << "hardly any text";

  // Drawn at its font size, not shrunk to fit the square: digits are about
  // three quarters of the em high.
  double em = c.fontSize * 96 / 72 * scale;
  QRect box = ink(image, bg);
  EXPECT_GE(box.height(), 0.6 * em);
  // The corners far from the text stay background.
  EXPECT_EQ(image.pixelColor(c.size - 1, 0), bg);
  EXPECT_EQ(image.pixelColor(0, c.size - 1), bg);
}

std::string caseName(const ::testing::TestParamInfo<Case>& info) {
  const Case& c = info.param;
  std::string text = c.text == "三" ? "weekday" : c.text;
  std::erase(text, '.');
  return text + "_at_" + std::to_string(std::lround(c.fontSize * 100)) + "_" +
         std::to_string(c.size) + "px";
}

INSTANTIATE_TEST_SUITE_P(Readings, Picture,
                         ::testing::Values(Case{"45.5", kRed, 8.8, 16}, Case{"45.5", kRed, 8.8, 32},
                                           Case{"45.5", kRed, 7.72, 16},
                                           Case{"45.5", kRed, 7.72, 32},
                                           Case{"100", kGreen, 7.72, 16},
                                           Case{"100", kGreen, 7.72, 24},
                                           Case{"三", kGreen, 8.8, 16}),
                         caseName);

TEST(PictureText, IsNotShortenedButClippedAtTheEdge) {
  // At 7.72 points "100" is a little wider than the square: its last digit
  // reaches in at the right edge instead of being dropped or elided.
  EXPECT_NE(render(reading("100", kGreen, 7.72), 16), render(reading("10", kGreen, 7.72), 16));
  // Moved left, the whole of it is there at either size.
  for (double size : {7.72, 8.8}) {
    TrayPicture three = reading("100", kGreen, size), two = reading("10", kGreen, size);
    three.x = two.x = -6;
    EXPECT_NE(render(three, 16), render(two, 16)) << size;
  }
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
  for (int size : {16, 22, 24, 32, 48}) {
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
