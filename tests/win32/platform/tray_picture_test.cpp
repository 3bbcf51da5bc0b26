#include "ui/win32/tray_picture.h"

#include <gtest/gtest.h>

#include <vector>

namespace qv::ui::win32 {
namespace {

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

TEST(TrayPicture, AReadingInWhiteOnItsColourAtEverySize) {
  const TrayPicture picture{.background = Colour::rgb(255, 0, 0), .text = "45", .fontSize = 9};
  for (int size : {16, 24, 32}) {
    HICON icon = paintTrayPicture(picture, size);
    ASSERT_TRUE(icon) << size;
    auto px = pixels(icon, size);
    DestroyIcon(icon);
    int red = 0, white = 0;
    for (unsigned p : px) {
      EXPECT_EQ(p >> 24, 0xFFu) << "every pixel opaque";
      red += (p & 0xFFFFFF) == 0xFF0000;
      white += (p & 0xFFFFFF) == 0xFFFFFF;
    }
    EXPECT_EQ(px[0] & 0xFFFFFF, 0xFF0000u) << "the corner is background, size " << size;
    // Unsmoothed below 48 px: the digits are solid white, and some there are.
    EXPECT_GT(white, size) << size;
    EXPECT_GT(red, size * size / 2) << size;
  }
}

}  // namespace
}  // namespace qv::ui::win32
