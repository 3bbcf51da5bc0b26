#include "ui/win32/tray_picture.h"

#include <algorithm>
#include <cmath>

#include "platform/win32/wide_text.h"
#include "ui/win32/canvas.h"
#include "ui/win32/look.h"

namespace qv::ui::win32 {

HICON paintTrayPicture(const TrayPicture& picture, int sizePx) {
  Canvas canvas(sizePx);
  HDC dc = canvas.dc();
  const int size = canvas.size();
  RECT all{0, 0, size, size};
  FillRect(dc, &all, brush(picture.background));
  if (!picture.text.empty()) {
    const double scale = size / 16.0;
    // Points as they come out at 96 dpi, whatever the screen's: the layout
    // is in pixels of the square.
    LOGFONTW lf{};
    lf.lfHeight = -std::max(1L, std::lround(picture.fontSize * 96.0 / 72.0 * scale));
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = DEFAULT_CHARSET;
    // Below 48 px a pixel is too coarse for grey edges: solid glyphs read
    // better; colour fringes would show on the coloured square anyway.
    lf.lfQuality = size < 48 ? NONANTIALIASED_QUALITY : ANTIALIASED_QUALITY;
    std::wstring face = win::shown(picture.fontName).substr(0, LF_FACESIZE - 1);
    face.copy(lf.lfFaceName, face.size());
    HFONT font = CreateFontIndirectW(&lf);
    HGDIOBJ old = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, colorRef(picture.textColour));
    SetTextAlign(dc, TA_TOP | TA_LEFT);
    // (x, y) is the top left of the text line, as on a printing surface.
    const int x = static_cast<int>(std::lround(picture.x * scale));
    const int y = static_cast<int>(std::lround(picture.y * scale));
    const std::wstring text = win::shown(picture.text);
    ExtTextOutW(dc, x, y, ETO_CLIPPED, &all, text.c_str(), static_cast<UINT>(text.size()), nullptr);
    SelectObject(dc, old);
    DeleteObject(font);
  }
  return canvas.icon();
}

}  // namespace qv::ui::win32
