// The readout picture painted with GDI: every reading whole inside the
// square at every size the shell asks for, in whatever face is installed.

#include "ui/win32/tray_picture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/win32/wide_text.h"

namespace qv::ui::win32 {
namespace {

constexpr unsigned kWhite = 0xFFFFFF;

// The icon's pixels, 0xAARRGGBB, top row first.
std::vector<unsigned> pixels(HICON icon, int size) {
  ICONINFO ii{};
  GetIconInfo(icon, &ii);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = size;
  info.bmiHeader.biHeight = -size;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  std::vector<unsigned> out(static_cast<std::size_t>(size * size));
  HDC dc = GetDC(nullptr);
  GetDIBits(dc, ii.hbmColor, 0, static_cast<UINT>(size), out.data(), &info, DIB_RGB_COLORS);
  ReleaseDC(nullptr, dc);
  DeleteObject(ii.hbmColor);
  DeleteObject(ii.hbmMask);
  return out;
}

std::vector<unsigned> paint(const TrayPicture& picture, int size) {
  HICON icon = paintTrayPicture(picture, size);
  EXPECT_TRUE(icon) << size;
  if (!icon) return std::vector<unsigned>(static_cast<std::size_t>(size * size));
  auto out = pixels(icon, size);
  DestroyIcon(icon);
  return out;
}

// The picture's text drawn as the picture lays it out, on a square `pad`
// pixels larger on every side, with nothing to clip it: RGB, top row first.
std::vector<unsigned> unclipped(const TrayPicture& picture, int size, int pad) {
  const PictureText at = trayPictureText(picture, size);
  const int side = size + 2 * pad;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = side;
  info.bmiHeader.biHeight = -side;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  HDC dc = CreateCompatibleDC(nullptr);
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
  HFONT font = trayPictureFont(picture, at.pixelSize, size);
  HGDIOBJ oldFont = SelectObject(dc, font);
  RECT all{0, 0, side, side};
  HBRUSH ground = CreateSolidBrush(
      RGB(picture.background.red(), picture.background.green(), picture.background.blue()));
  FillRect(dc, &all, ground);
  DeleteObject(ground);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(255, 255, 255));
  SetTextAlign(dc, TA_TOP | TA_LEFT);
  const std::wstring text = win::shown(picture.text);
  ExtTextOutW(dc, at.x + pad, at.y + pad, 0, nullptr, text.c_str(), static_cast<UINT>(text.size()),
              nullptr);
  GdiFlush();
  std::vector<unsigned> out(static_cast<const unsigned*>(bits),
                            static_cast<const unsigned*>(bits) + side * side);
  for (unsigned& p : out) p &= 0xFFFFFF;
  SelectObject(dc, oldFont);
  DeleteObject(font);
  SelectObject(dc, oldBitmap);
  DeleteObject(bitmap);
  DeleteDC(dc);
  return out;
}

struct Case {
  std::string text;
  double fontSize;  // the program's smaller font at 100
  Colour background;
};

// The readings 0 to 100 and the weekday, at the sizes the shell's small icons
// have at 96, 120, 144 and 192 dpi.
TEST(TrayPicture, EveryReadingFitsWholeAndCentredInsideAMarginAtEverySize) {
  const Colour red = Colour::rgb(255, 0, 0), green = Colour::rgb(0, 192, 0);
  const Case cases[] = {{"0", 8.8, red},  {"9", 8.8, red},    {"42", 8.8, red},
                        {"99", 8.8, red}, {"100", 7.72, red}, {"三", 8.8, green}};
  for (const Case& c : cases)
    for (int size : {16, 20, 24, 32}) {
      SCOPED_TRACE("\"" + c.text + "\" at " + std::to_string(size) + " px");
      const TrayPicture picture{.background = c.background, .text = c.text, .fontSize = c.fontSize};
      const unsigned ground =
          c.background.red() << 16 | c.background.green() << 8 | c.background.blue();
      auto px = paint(picture, size);
      int top = size, bottom = -1, white = 0;
      for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
          const unsigned p = px[static_cast<std::size_t>(y * size + x)];
          ASSERT_EQ(p >> 24, 0xFFu) << "every pixel opaque";
          // Solid glyphs at tray sizes: the ground or white, nothing between.
          ASSERT_TRUE((p & 0xFFFFFF) == ground || (p & 0xFFFFFF) == kWhite) << x << "," << y;
          if ((p & 0xFFFFFF) != kWhite) continue;
          ++white;
          ASSERT_TRUE(x > 0 && y > 0 && x < size - 1 && y < size - 1)
              << "text at the edge, " << x << "," << y;
          top = std::min(top, y);
          bottom = std::max(bottom, y);
        }
      // A reading, and centred from top to bottom whatever the face's line.
      ASSERT_GT(white, size / 2);
      EXPECT_GE(bottom - top + 1, 0.4 * size);
      EXPECT_LE(std::abs(top - (size - 1 - bottom)), 1) << "top " << top << ", bottom " << bottom;

      // Nothing cut: drawn without the square around it, it is the same.
      const int pad = size;
      auto free = unclipped(picture, size, pad);
      const int side = size + 2 * pad;
      for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) {
          const unsigned p = free[static_cast<std::size_t>(y * side + x)];
          const bool inside = x >= pad && y >= pad && x < pad + size && y < pad + size;
          const unsigned shown =
              inside ? px[static_cast<std::size_t>((y - pad) * size + x - pad)] & 0xFFFFFF : ground;
          ASSERT_EQ(p, shown) << "the text is cut at " << x - pad << "," << y - pad;
        }
    }
}

}  // namespace
}  // namespace qv::ui::win32
