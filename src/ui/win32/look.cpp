#include "ui/win32/look.h"

#include <cmath>
#include <map>
#include <tuple>

#include "platform/win32/wide_text.h"
#include "ui/win32/chinese_face.h"

namespace qv::ui::win32 {

HBRUSH brush(Colour c) {
  static std::map<std::uint32_t, HBRUSH> brushes;
  auto it = brushes.find(c.value);
  if (it == brushes.end()) it = brushes.emplace(c.value, CreateSolidBrush(colorRef(c))).first;
  return it->second;
}

HFONT font(const Font& f, int dpi, double size) {
  using Key = std::tuple<std::string, double, bool, bool, bool, int>;
  static std::map<Key, HFONT> fonts;
  const double points = size > 0 ? size : f.size;
  Key key{f.name, points, f.bold, f.italic, f.underline, dpi};
  auto it = fonts.find(key);
  if (it != fonts.end()) return it->second;
  LOGFONTW lf{};
  // Negative: the character height, as a point size means.
  lf.lfHeight = -static_cast<LONG>(std::lround(points * dpi / 72.0));
  lf.lfWeight = f.bold ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = f.italic;
  lf.lfUnderline = f.underline;
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfQuality = CLEARTYPE_QUALITY;
  // Asked once per design face: the answer needs a look at the fonts.
  static std::map<std::string, std::wstring> faces;
  auto known = faces.find(f.name);
  if (known == faces.end()) known = faces.emplace(f.name, chineseFace(win::shown(f.name))).first;
  std::wstring face = known->second;
  face.resize(std::min<std::size_t>(face.size(), LF_FACESIZE - 1));
  face.copy(lf.lfFaceName, face.size());
  HFONT made = CreateFontIndirectW(&lf);
  fonts.emplace(key, made);
  return made;
}

}  // namespace qv::ui::win32
