// quorvane.exe as Explorer, the Start menu and the loader see it: its
// version from the project's, in Chinese and English, the application's
// icon, and a manifest that brings the common controls of version 6.

#include <windows.h>
// After windows.h, which they need.
#include <shellapi.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

const std::wstring kExe = L"" QUORVANE_EXE;

std::wstring versionText(const std::vector<BYTE>& info, const std::wstring& block,
                         const wchar_t* name) {
  void* value = nullptr;
  UINT length = 0;
  const std::wstring path = L"\\StringFileInfo\\" + block + L"\\" + name;
  if (!VerQueryValueW(info.data(), path.c_str(), &value, &length) || length == 0) return {};
  return static_cast<const wchar_t*>(value);
}

TEST(Resources, TheVersionIsTheProjectsInChineseAndEnglish) {
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(kExe.c_str(), &ignored);
  ASSERT_GT(size, 0u) << "no version information";
  std::vector<BYTE> info(size);
  ASSERT_TRUE(GetFileVersionInfoW(kExe.c_str(), 0, size, info.data()));

  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
  EXPECT_EQ(fixed->dwFileVersionMS,
            static_cast<DWORD>(MAKELONG(QUORVANE_VERSION_MINOR, QUORVANE_VERSION_MAJOR)));
  EXPECT_EQ(fixed->dwFileVersionLS, static_cast<DWORD>(MAKELONG(0, QUORVANE_VERSION_PATCH)));
  EXPECT_EQ(fixed->dwProductVersionMS, fixed->dwFileVersionMS);
  EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));

  const std::wstring version = L"" QUORVANE_VERSION;
  struct Block {
    const wchar_t* id;
    const wchar_t* description;
  };
  for (const Block& b : {Block{L"080404b0", L"Quorvane 温度监测"},
                         Block{L"040904b0", L"Quorvane temperature monitor"}}) {
    EXPECT_EQ(versionText(info, b.id, L"FileDescription"), b.description) << b.id;
    EXPECT_EQ(versionText(info, b.id, L"ProductName"), L"Quorvane") << b.id;
    EXPECT_EQ(versionText(info, b.id, L"FileVersion"), version) << b.id;
    EXPECT_EQ(versionText(info, b.id, L"ProductVersion"), version) << b.id;
    EXPECT_EQ(versionText(info, b.id, L"OriginalFilename"), L"quorvane.exe") << b.id;
  }
}

TEST(Resources, TheApplicationIconIsTheTealThermometer) {
  ASSERT_GE(ExtractIconExW(kExe.c_str(), -1, nullptr, nullptr, 0), 1u) << "no icon";
  HICON large = nullptr, small = nullptr;
  ASSERT_EQ(ExtractIconExW(kExe.c_str(), 0, &large, &small, 1), 2u);
  // The 32-pixel picture: a teal tile, transparent beyond its corners.
  ICONINFO ii{};
  ASSERT_TRUE(GetIconInfo(large, &ii));
  BITMAPINFO bmi{};
  bmi.bmiHeader.biSize = sizeof bmi.bmiHeader;
  bmi.bmiHeader.biWidth = 32;
  bmi.bmiHeader.biHeight = -32;
  bmi.bmiHeader.biPlanes = 1;
  bmi.bmiHeader.biBitCount = 32;
  std::vector<unsigned> px(32 * 32);
  HDC dc = GetDC(nullptr);
  GetDIBits(dc, ii.hbmColor, 0, 32, px.data(), &bmi, DIB_RGB_COLORS);
  ReleaseDC(nullptr, dc);
  DeleteObject(ii.hbmColor);
  DeleteObject(ii.hbmMask);
  DestroyIcon(large);
  DestroyIcon(small);
  const unsigned corner = px[0], tile = px[16 * 32 + 3];
  EXPECT_EQ(corner >> 24, 0u) << std::hex << corner;
  const unsigned r = tile >> 16 & 0xFF, g = tile >> 8 & 0xFF, b = tile & 0xFF;
  EXPECT_EQ(tile >> 24, 0xFFu) << std::hex << tile;
  EXPECT_TRUE(r < 60 && g > 120 && b > 120) << std::hex << tile;
}

TEST(Resources, TheManifestBringsCommonControls6AndAsksForNoElevation) {
  HMODULE image = LoadLibraryExW(kExe.c_str(), nullptr,
                                 LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  ASSERT_TRUE(image);
  HRSRC found = FindResourceW(image, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
  ASSERT_TRUE(found) << "no manifest";
  const std::string manifest(static_cast<const char*>(LockResource(LoadResource(image, found))),
                             SizeofResource(image, found));
  FreeLibrary(image);
  for (const char* wanted : {"Microsoft.Windows.Common-Controls", "PerMonitorV2",
                             "level=\"asInvoker\"", ">UTF-8</activeCodePage>"})
    EXPECT_NE(manifest.find(wanted), std::string::npos) << wanted;

  // What the loader makes of it: the common controls' assembly of version 6
  // among those the program's activation context holds.
  ACTCTXW context{};
  context.cbSize = sizeof context;
  context.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
  context.lpSource = kExe.c_str();
  context.lpResourceName = MAKEINTRESOURCEW(1);
  HANDLE activation = CreateActCtxW(&context);
  ASSERT_NE(activation, INVALID_HANDLE_VALUE) << "the manifest does not load";
  std::vector<std::wstring> assemblies;
  SIZE_T size = 0;
  QueryActCtxW(0, activation, nullptr, ActivationContextDetailedInformation, nullptr, 0, &size);
  std::vector<BYTE> details(
      std::max<SIZE_T>(size, sizeof(ACTIVATION_CONTEXT_DETAILED_INFORMATION)));
  auto* detail = reinterpret_cast<ACTIVATION_CONTEXT_DETAILED_INFORMATION*>(details.data());
  if (QueryActCtxW(0, activation, nullptr, ActivationContextDetailedInformation, detail,
                   details.size(), nullptr)) {
    for (DWORD i = 1; i <= detail->ulAssemblyCount; ++i) {
      SIZE_T bytes = 0;
      QueryActCtxW(0, activation, &i, AssemblyDetailedInformationInActivationContext, nullptr, 0,
                   &bytes);
      std::vector<BYTE> buffer(bytes);
      auto* info =
          reinterpret_cast<ACTIVATION_CONTEXT_ASSEMBLY_DETAILED_INFORMATION*>(buffer.data());
      if (bytes &&
          QueryActCtxW(0, activation, &i, AssemblyDetailedInformationInActivationContext, info,
                       bytes, nullptr) &&
          info->lpAssemblyEncodedAssemblyIdentity)
        assemblies.emplace_back(info->lpAssemblyEncodedAssemblyIdentity);
    }
  }
  ReleaseActCtx(activation);
  bool controls6 = false;
  for (const auto& a : assemblies) {
    controls6 |= a.find(L"Microsoft.Windows.Common-Controls") != std::wstring::npos &&
                 a.find(L"version=\"6.") != std::wstring::npos;
  }
  EXPECT_TRUE(controls6) << "resolved: " << ::testing::PrintToString(assemblies);
}

}  // namespace
