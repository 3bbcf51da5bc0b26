#include "ui/win32/tray_picture.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "display/picture_layout.h"
#include "platform/win32/wide_text.h"
#include "ui/win32/canvas.h"
#include "ui/win32/look.h"

namespace qv::ui::win32 {

namespace {

// Below this size a pixel is too coarse for grey edges: solid glyphs read
// better; colour fringes would show on the coloured square anyway.
constexpr int kSmoothFrom = 48;

bool installed(const std::wstring& face) {
  LOGFONTW lf{};
  lf.lfCharSet = DEFAULT_CHARSET;
  face.substr(0, LF_FACESIZE - 1).copy(lf.lfFaceName, LF_FACESIZE - 1);
  bool found = false;
  HDC dc = GetDC(nullptr);
  EnumFontFamiliesExW(
      dc, &lf,
      [](const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM seen) -> int {
        *reinterpret_cast<bool*>(seen) = true;
        return 0;
      },
      reinterpret_cast<LPARAM>(&found), 0);
  ReleaseDC(nullptr, dc);
  return found;
}

// Whether the face has a glyph for every character of the text.
bool covers(const std::wstring& face, const std::wstring& text) {
  LOGFONTW lf{};
  lf.lfHeight = -16;
  lf.lfCharSet = DEFAULT_CHARSET;
  face.substr(0, LF_FACESIZE - 1).copy(lf.lfFaceName, LF_FACESIZE - 1);
  HDC dc = CreateCompatibleDC(nullptr);
  HFONT font = CreateFontIndirectW(&lf);
  HGDIOBJ old = SelectObject(dc, font);
  std::vector<WORD> glyphs(text.size());
  const DWORD done = GetGlyphIndicesW(dc, text.c_str(), static_cast<int>(text.size()),
                                      glyphs.data(), GGI_MARK_NONEXISTING_GLYPHS);
  SelectObject(dc, old);
  DeleteObject(font);
  DeleteDC(dc);
  return done != GDI_ERROR && std::find(glyphs.begin(), glyphs.end(), 0xFFFF) == glyphs.end();
}

// The design's face where it is installed, as on every Windows; else a
// narrow one that has the text's characters. Left to itself GDI would stand
// in a face of its choosing for a missing one (Wine picks a CJK face, whose
// deep line set the digits low), which it still does for the weekday.
const std::wstring& faceFor(const std::string& name, const std::string& text) {
  static std::map<std::pair<std::string, std::string>, std::wstring> faces;
  auto it = faces.find({name, text});
  if (it != faces.end()) return it->second;
  if (faces.size() >= 256) faces.clear();
  std::wstring face = win::shown(name);
  if (!installed(face)) {
    const std::wstring wide = win::shown(text);
    for (const wchar_t* other :
         {L"Arial Narrow", L"Liberation Sans Narrow", L"Nimbus Sans Narrow",
          L"DejaVu Sans Condensed", L"Arial", L"Liberation Sans", L"DejaVu Sans"})
      if (installed(other) && covers(other, wide)) {
        face = other;
        break;
      }
  }
  return faces.emplace(std::make_pair(name, text), face).first->second;
}

}  // namespace

HFONT trayPictureFont(const TrayPicture& picture, int pixelSize, int side) {
  LOGFONTW lf{};
  // Negative: the character height, as a point size means.
  lf.lfHeight = -std::max(1, pixelSize);
  lf.lfWeight = FW_NORMAL;
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfQuality = side < kSmoothFrom ? NONANTIALIASED_QUALITY : ANTIALIASED_QUALITY;
  faceFor(picture.fontName, picture.text)
      .substr(0, LF_FACESIZE - 1)
      .copy(lf.lfFaceName, LF_FACESIZE - 1);
  return CreateFontIndirectW(&lf);
}

namespace {

// What the text covers, drawn as the picture draws it.
InkBox inkOf(const TrayPicture& picture, int pixelSize, int side) {
  const std::wstring text = win::shown(picture.text);
  HDC dc = CreateCompatibleDC(nullptr);
  HFONT font = trayPictureFont(picture, pixelSize, side);
  HGDIOBJ oldFont = SelectObject(dc, font);
  SIZE extent{};
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
  const int pad = pixelSize + 2;
  const int width = extent.cx + 2 * pad, height = extent.cy + 2 * pad;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top row first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  InkBox box;
  if (bitmap && bits) {
    HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
    RECT all{0, 0, width, height};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(255, 255, 255));
    SetTextAlign(dc, TA_TOP | TA_LEFT);
    ExtTextOutW(dc, pad, pad, 0, nullptr, text.c_str(), static_cast<UINT>(text.size()), nullptr);
    GdiFlush();
    const auto* px = static_cast<const unsigned*>(bits);
    box = {width, height, 0, 0};
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x)
        if (px[y * width + x] & 0xFFFFFFu) {
          box.left = std::min(box.left, x - pad);
          box.right = std::max(box.right, x + 1 - pad);
          box.top = std::min(box.top, y - pad);
          box.bottom = std::max(box.bottom, y + 1 - pad);
        }
    if (box.empty()) box = {};
    SelectObject(dc, oldBitmap);
    DeleteObject(bitmap);
  }
  SelectObject(dc, oldFont);
  DeleteObject(font);
  DeleteDC(dc);
  return box;
}

}  // namespace

PictureText trayPictureText(const TrayPicture& picture, int side) {
  // The display cycle brings the same pictures round again and again.
  using Key = std::tuple<std::string, std::string, double, int, int, int>;
  static std::map<Key, PictureText> laid;
  const Key key{picture.fontName, picture.text, picture.fontSize, picture.x, picture.y, side};
  auto it = laid.find(key);
  if (it == laid.end()) {
    if (laid.size() >= 256) laid.clear();
    it = laid.emplace(key, layOutPictureText(
                               picture, side,
                               [&](int pixelSize) { return inkOf(picture, pixelSize, side); }))
             .first;
  }
  return it->second;
}

HICON paintTrayPicture(const TrayPicture& picture, int sizePx) {
  Canvas canvas(sizePx);
  HDC dc = canvas.dc();
  const int size = canvas.size();
  RECT all{0, 0, size, size};
  FillRect(dc, &all, brush(picture.background));
  if (!picture.text.empty()) {
    const PictureText at = trayPictureText(picture, size);
    HFONT font = trayPictureFont(picture, at.pixelSize, size);
    HGDIOBJ old = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, colorRef(picture.textColour));
    SetTextAlign(dc, TA_TOP | TA_LEFT);
    const std::wstring text = win::shown(picture.text);
    ExtTextOutW(dc, at.x, at.y, ETO_CLIPPED, &all, text.c_str(), static_cast<UINT>(text.size()),
                nullptr);
    SelectObject(dc, old);
    DeleteObject(font);
  }
  return canvas.icon();
}

}  // namespace qv::ui::win32
