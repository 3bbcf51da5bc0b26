#pragma once
// How model properties look in Win32: twips at the monitor's dpi, colours,
// fonts and brushes. Fonts and brushes are made once and kept: a handful of
// each is ever asked for.

#include <windows.h>

#include <string>

#include "base/colour.h"
#include "runtime/control.h"

namespace qv::ui::win32 {

// Pixels at `dpi` (96 is 100 %): 15 twips are a pixel at 96 dpi.
inline int px(int twips, int dpi) {
  return (twips * dpi + 720) / 1440;
}

// Colours are stored red in the low byte, as COLORREF has them.
inline COLORREF colorRef(Colour c) {
  return RGB(c.red(), c.green(), c.blue());
}

HBRUSH brush(Colour c);
// The font at `dpi`, `size` overriding the design's point size when given.
HFONT font(const Font& f, int dpi, double size = 0);

}  // namespace qv::ui::win32
