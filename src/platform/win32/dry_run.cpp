#include "platform/win32/dry_run.h"

#include <shlobj.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace qv::win {

bool dryRun() {
  const char* v = std::getenv("QUORVANE_DRY_RUN");
  return v && *v && std::strcmp(v, "0") != 0;
}

std::wstring dryRunLogPath() {
  PWSTR folder = nullptr;
  std::wstring path;
  if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_RoamingAppData, KF_FLAG_CREATE, nullptr, &folder)))
    path = std::wstring(folder) + L"\\Quorvane";
  CoTaskMemFree(folder);
  if (path.empty()) return {};
  CreateDirectoryW(path.c_str(), nullptr);
  return path + L"\\dry-run.log";
}

void logDryRun(const std::string& what) {
  const std::string line = "quorvane: dry run: " + what + "\n";
  std::fputs(line.c_str(), stderr);
  std::fflush(stderr);
  const std::wstring path = dryRunLogPath();
  if (path.empty()) return;
  HANDLE file = CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
  CloseHandle(file);
}

}  // namespace qv::win
