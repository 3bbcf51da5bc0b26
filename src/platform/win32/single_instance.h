#pragma once
// How other programs reach the running copy on Windows (the installer uses
// the same names): its hidden top-level window of class kInstanceClass
// takes kShowMessage from a later start and WM_CLOSE from the installer.

#include <windows.h>

namespace qv::win {

inline constexpr wchar_t kInstanceClass[] = L"QuorvaneInstance";
inline constexpr UINT kShowMessage = WM_APP + 1;

}  // namespace qv::win
