#pragma once
// The face the windows' texts are drawn in. Nearly every text is Chinese,
// and the design's face (Tahoma) has no Chinese of its own: Windows draws it
// through the face's font links. Where those lead to no installed font (a
// Windows without the East Asian fonts, a bare Wine prefix) every Chinese
// character would be a box; the texts then fall back to the faces Windows
// ships for Simplified Chinese, and last to the face the system itself maps
// the Chinese character set to.

#include <string>
#include <vector>

namespace qv::ui::win32 {

// Microsoft YaHei, then SimSun.
const std::vector<std::wstring>& chineseFallbacks();

// `design` where it is installed and draws Chinese, by itself or through its
// font links; else the first of `fallbacks` that is installed and draws it;
// else an installed face of the Chinese character set that draws it; else
// `design` all the same.
std::wstring chineseFace(const std::wstring& design,
                         const std::vector<std::wstring>& fallbacks = chineseFallbacks());

// Whether a face of this name is installed (the font mapper does not put
// another in its place).
bool installed(const std::wstring& face);
// Whether the installed face of this name has a drawn glyph for each of the
// characters the program shows most ("温度设置℃"). False for a face that is
// not installed.
bool drawsChinese(const std::wstring& face);

}  // namespace qv::ui::win32
