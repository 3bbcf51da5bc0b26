// Two rules of the Win32 view that need no window: the face Chinese text is
// drawn in, and how a window is kept inside its monitor's work area.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "ui/win32/chinese_face.h"
#include "ui/win32/dpi.h"
#include "ui/win32/look.h"

namespace qv::ui::win32 {
namespace {

// A face's font links, set for a test and put back after it.
class Links {
 public:
  explicit Links(std::wstring face) : face_(std::move(face)) {
    DWORD bytes = 0;
    if (RegGetValueW(HKEY_LOCAL_MACHINE, kKey, face_.c_str(), RRF_RT_REG_MULTI_SZ, nullptr, nullptr,
                     &bytes) == ERROR_SUCCESS) {
      saved_.resize(bytes / sizeof(wchar_t));
      RegGetValueW(HKEY_LOCAL_MACHINE, kKey, face_.c_str(), RRF_RT_REG_MULTI_SZ, nullptr,
                   saved_.data(), &bytes);
      had_ = true;
    }
  }
  ~Links() {
    if (had_)
      set(saved_);
    else
      RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, kKey, face_.c_str());
  }
  // "file,face" lines, each ended by a zero, and a zero after the last.
  void set(const std::wstring& lines) {
    RegSetKeyValueW(HKEY_LOCAL_MACHINE, kKey, face_.c_str(), REG_MULTI_SZ, lines.data(),
                    static_cast<DWORD>(lines.size() * sizeof(wchar_t)));
  }

 private:
  static constexpr const wchar_t* kKey =
      L"Software\\Microsoft\\Windows NT\\CurrentVersion\\FontLink\\SystemLink";
  std::wstring face_;
  std::wstring saved_;
  bool had_ = false;
};

// The test prefix has Noto Sans CJK (tests/win32/wine/prefix.sh) and the
// fonts of Linux, among them DejaVu Sans, a face without Chinese; no
// Microsoft face, Tahoma included (Wine puts another in its place).
TEST(ChineseFace, TheDesignsFaceWhereItDrawsChineseElseAFallbackThatDoes) {
  ASSERT_TRUE(drawsChinese(L"Noto Sans CJK SC")) << "the prefix lacks its CJK font";
  ASSERT_TRUE(installed(L"DejaVu Sans"));
  EXPECT_FALSE(drawsChinese(L"DejaVu Sans"));
  EXPECT_FALSE(installed(L"No Such Face"));
  EXPECT_FALSE(drawsChinese(L"Microsoft YaHei"));

  Links links(L"DejaVu Sans");
  // Chinese through its font links, as Tahoma's on a Chinese Windows: kept.
  links.set(std::wstring(L"MSYH.TTC,Microsoft YaHei UI") + L'\0' +
            L"NotoSansCJK-Regular.ttc,Noto Sans CJK SC" + L'\0' + L'\0');
  EXPECT_EQ(chineseFace(L"DejaVu Sans", {}), L"DejaVu Sans");
  // Links to fonts that are not there, as on a Windows without the East
  // Asian fonts: the first fallback that is there and draws Chinese.
  links.set(std::wstring(L"MSYH.TTC,Microsoft YaHei UI") + L'\0' + L'\0');
  EXPECT_EQ(chineseFace(L"DejaVu Sans", {L"Microsoft YaHei", L"SimSun", L"Noto Sans CJK SC"}),
            L"Noto Sans CJK SC");
  // None of the fallbacks either: the Simplified Chinese face of the
  // system's Chinese fonts (not its Japanese sibling, which comes first).
  EXPECT_EQ(chineseFace(L"DejaVu Sans", chineseFallbacks()), L"Noto Sans CJK SC");
  // A face that is not installed: its links are not followed.
  Links missing(L"No Such Face");
  missing.set(std::wstring(L"NotoSansCJK-Regular.ttc,Noto Sans CJK SC") + L'\0' + L'\0');
  EXPECT_EQ(chineseFace(L"No Such Face", chineseFallbacks()), L"Noto Sans CJK SC");
  // A face with Chinese of its own stays.
  EXPECT_EQ(chineseFace(L"Noto Sans CJK JP", chineseFallbacks()), L"Noto Sans CJK JP");
}

TEST(WorkArea, AWindowTooLargeAt150PercentIsLaidOutSmallerToFit) {
  constexpr DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
  // 1280 x 800 less a taskbar of 72 pixels (48 at 150 %).
  const RECT work{0, 0, 1280, 728};
  // The main window, 11670 x 8505 twips.
  const int dpi = fittingDpi(11670, 8505, style, 0, 144, work);
  EXPECT_LT(dpi, 144);
  EXPECT_GT(dpi, 100);
  RECT r{0, 0, px(11670, dpi), px(8505, dpi)};
  adjustForDpi(r, style, 0, dpi);
  EXPECT_LE(r.bottom - r.top, 728);
  RECT larger{0, 0, px(11670, dpi + 1), px(8505, dpi + 1)};
  adjustForDpi(larger, style, 0, dpi + 1);
  EXPECT_GT(larger.bottom - larger.top, 728) << "not the largest that fits";
  // A window that fits keeps the monitor's dpi.
  EXPECT_EQ(fittingDpi(4800, 2040, style, 0, 144, work), 144);
  EXPECT_EQ(fittingDpi(11670, 8505, style, 0, 96, RECT{0, 0, 1920, 1040}), 96);
}

TEST(WorkArea, AWindowIsMovedInsideAndOneTooLargeKeepsItsCaptionInside) {
  const RECT work{0, 24, 1280, 800};
  struct Case {
    RECT window;
    RECT inside;
  };
  const Case cases[] = {
      {{100, 100, 500, 400}, {100, 100, 500, 400}},      // inside already
      {{1100, 700, 1300, 900}, {1080, 600, 1280, 800}},  // beyond the bottom right
      {{-50, 0, 150, 100}, {0, 24, 200, 124}},           // above and left of it
      {{200, 100, 1700, 1000}, {0, 24, 1500, 924}},      // larger: top left inside
  };
  for (const Case& c : cases) {
    const RECT got = keptInside(c.window, work);
    EXPECT_TRUE(EqualRect(&got, &c.inside))
        << c.window.left << "," << c.window.top << " -> " << got.left << "," << got.top;
  }
}

}  // namespace
}  // namespace qv::ui::win32
