#include "ui/win32/chinese_face.h"

#include <windows.h>

#include <algorithm>
#include <cwctype>
#include <string_view>

namespace qv::ui::win32 {
namespace {

// Characters of the program's captions, and "℃", which some Chinese faces
// carry as an empty glyph.
constexpr wchar_t kProbe[] = L"温度设置℃";

bool sameFace(const std::wstring& a, const std::wstring& b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(),
                    [](wchar_t x, wchar_t y) { return std::towlower(x) == std::towlower(y); });
}

HFONT probeFont(const std::wstring& face, BYTE charset) {
  LOGFONTW lf{};
  lf.lfHeight = -16;
  lf.lfCharSet = charset;
  face.substr(0, LF_FACESIZE - 1).copy(lf.lfFaceName, LF_FACESIZE - 1);
  return CreateFontIndirectW(&lf);
}

// The face the font mapper picked for the font selected into `dc`.
std::wstring selectedFace(HDC dc) {
  wchar_t name[LF_FACESIZE] = {};
  GetTextFaceW(dc, LF_FACESIZE, name);
  return name;
}

// Every probe character has a glyph, and one with an outline.
bool drawsProbe(HDC dc) {
  const int n = static_cast<int>(std::size(kProbe)) - 1;
  WORD glyphs[std::size(kProbe)] = {};
  if (GetGlyphIndicesW(dc, kProbe, n, glyphs, GGI_MARK_NONEXISTING_GLYPHS) != static_cast<DWORD>(n))
    return false;
  const MAT2 identity{{0, 1}, {0, 0}, {0, 0}, {0, 1}};
  for (int i = 0; i < n; ++i) {
    if (glyphs[i] == 0xFFFF || glyphs[i] == 0) return false;
    GLYPHMETRICS metrics{};
    const DWORD size = GetGlyphOutlineW(dc, glyphs[i], GGO_GLYPH_INDEX | GGO_NATIVE, &metrics, 0,
                                        nullptr, &identity);
    if (size == GDI_ERROR || size == 0) return false;
  }
  return true;
}

// The faces a face links to for the characters it lacks
// (HKLM\...\FontLink\SystemLink: "file,face[,scaling]" lines).
std::vector<std::wstring> linkedFaces(const std::wstring& face) {
  std::vector<std::wstring> faces;
  DWORD bytes = 0;
  const wchar_t* key = L"Software\\Microsoft\\Windows NT\\CurrentVersion\\FontLink\\SystemLink";
  if (RegGetValueW(HKEY_LOCAL_MACHINE, key, face.c_str(), RRF_RT_REG_MULTI_SZ, nullptr, nullptr,
                   &bytes) != ERROR_SUCCESS)
    return faces;
  std::wstring data(bytes / sizeof(wchar_t) + 1, L'\0');
  if (RegGetValueW(HKEY_LOCAL_MACHINE, key, face.c_str(), RRF_RT_REG_MULTI_SZ, nullptr, data.data(),
                   &bytes) != ERROR_SUCCESS)
    return faces;
  for (std::size_t at = 0; at < data.size() && data[at];) {
    const std::wstring line = data.c_str() + at;
    at += line.size() + 1;
    const std::size_t comma = line.find(L',');
    if (comma == std::wstring::npos) continue;  // a file alone names no face
    faces.push_back(line.substr(comma + 1, line.find(L',', comma + 1) - comma - 1));
  }
  return faces;
}

int CALLBACK collect(const LOGFONTW* font, const TEXTMETRICW*, DWORD, LPARAM into) {
  auto& faces = *reinterpret_cast<std::vector<std::wstring>*>(into);
  // "@" faces are the vertical variants. The font type is no guide: an
  // OpenType face with PostScript outlines (Noto Sans CJK) is not TrueType.
  if (font->lfFaceName[0] != L'@') faces.push_back(font->lfFaceName);
  return 1;
}

bool endsWith(const std::wstring& text, std::wstring_view end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// Of the installed faces with the Chinese character set that draw the probe:
// a Simplified Chinese member of a CJK family ("Noto Sans CJK SC" beside its
// JP, KR and TC siblings), else the one the font mapper picks for that
// character set, else the first.
std::wstring systemChineseFace() {
  HDC dc = CreateCompatibleDC(nullptr);
  LOGFONTW wanted{};
  wanted.lfCharSet = GB2312_CHARSET;
  std::vector<std::wstring> faces;
  EnumFontFamiliesExW(dc, &wanted, &collect, reinterpret_cast<LPARAM>(&faces), 0);
  HFONT font = probeFont(L"", GB2312_CHARSET);
  HGDIOBJ old = SelectObject(dc, font);
  const std::wstring mapped = selectedFace(dc);
  SelectObject(dc, old);
  DeleteObject(font);
  DeleteDC(dc);

  std::vector<std::wstring> drawing;
  for (const auto& face : faces)
    if (std::find(drawing.begin(), drawing.end(), face) == drawing.end() && drawsChinese(face))
      drawing.push_back(face);
  for (const auto& face : drawing)
    if (endsWith(face, L" SC")) return face;
  for (const auto& face : drawing)
    if (sameFace(face, mapped)) return face;
  return drawing.empty() ? std::wstring() : drawing.front();
}

}  // namespace

const std::vector<std::wstring>& chineseFallbacks() {
  static const std::vector<std::wstring> faces{L"Microsoft YaHei", L"SimSun"};
  return faces;
}

bool installed(const std::wstring& face) {
  if (face.empty()) return false;
  HDC dc = CreateCompatibleDC(nullptr);
  HFONT font = probeFont(face, DEFAULT_CHARSET);
  HGDIOBJ old = SelectObject(dc, font);
  // A face that is not installed is quietly replaced by another.
  const bool there = sameFace(selectedFace(dc), face);
  SelectObject(dc, old);
  DeleteObject(font);
  DeleteDC(dc);
  return there;
}

bool drawsChinese(const std::wstring& face) {
  if (!installed(face)) return false;
  HDC dc = CreateCompatibleDC(nullptr);
  HFONT font = probeFont(face, DEFAULT_CHARSET);
  HGDIOBJ old = SelectObject(dc, font);
  const bool draws = drawsProbe(dc);
  SelectObject(dc, old);
  DeleteObject(font);
  DeleteDC(dc);
  return draws;
}

std::wstring chineseFace(const std::wstring& design, const std::vector<std::wstring>& fallbacks) {
  // The links of a face that is not installed are not followed: another
  // face stands in for it, with links of its own.
  if (installed(design)) {
    if (drawsChinese(design)) return design;
    for (const auto& linked : linkedFaces(design))
      if (drawsChinese(linked)) return design;
  }
  for (const auto& face : fallbacks)
    if (drawsChinese(face)) return face;
  const std::wstring system = systemChineseFace();
  return system.empty() ? design : system;
}

}  // namespace qv::ui::win32
