#include "platform/win32/win32_process.h"

#include <windows.h>

#include <algorithm>
#include <vector>

#include "platform/win32/dry_run.h"
#include "platform/win32/wide_text.h"

namespace qv::win {
namespace {

// The program's window styles are the system's show states 0, 1 and 2.
std::optional<WORD> showState(int windowStyle) {
  switch (windowStyle) {
    case windowstyle::hidden:
      return SW_HIDE;
    case windowstyle::normal:
      return SW_SHOWNORMAL;
    case windowstyle::minimized:
      return SW_SHOWMINIMIZED;
    default:
      return std::nullopt;
  }
}

std::wstring systemFolder() {
  std::vector<wchar_t> buffer(MAX_PATH);
  UINT n = GetSystemDirectoryW(buffer.data(), static_cast<UINT>(buffer.size()));
  if (n >= buffer.size()) {
    buffer.resize(n);
    n = GetSystemDirectoryW(buffer.data(), static_cast<UINT>(buffer.size()));
  }
  return n > 0 && n < buffer.size() ? std::wstring(buffer.data(), n) : std::wstring();
}

}  // namespace

std::optional<std::wstring> programOf(std::wstring_view line, std::wstring_view systemFolder) {
  std::wstring_view program;
  if (!line.empty() && line.front() == L'"') {
    const std::size_t end = line.find(L'"', 1);
    if (end == std::wstring_view::npos) return std::nullopt;
    program = line.substr(1, end - 1);
  } else {
    program = line.substr(0, line.find_first_of(L" \t"));
  }
  if (program.empty()) return std::nullopt;
  if (program.find_first_of(L"\\/:") != std::wstring_view::npos) return std::wstring(program);
  if (systemFolder.empty()) return std::nullopt;
  std::wstring path = std::wstring(systemFolder) + L"\\" + std::wstring(program);
  if (program.find(L'.') == std::wstring_view::npos) path += L".exe";
  return path;
}

Started Win32Process::run(const std::string& commandLine, int windowStyle) {
  // Checked first, before anything else is looked at.
  if (dryRun()) {
    logDryRun("would run \"" + commandLine + "\" (window style " + std::to_string(windowStyle) +
              ")");
    return Started::yes;
  }
  auto line = wide(commandLine);
  auto show = showState(windowStyle);
  if (!line || line->empty() || !show) return Started::no;
  const auto program = programOf(*line, systemFolder());
  if (!program) return Started::no;
  // CreateProcessW may write into the command line it is given.
  std::vector<wchar_t> buffer(line->begin(), line->end());
  buffer.push_back(L'\0');
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = *show;
  PROCESS_INFORMATION started{};
  // The program is named, so nothing is searched; the line goes as it is.
  if (!CreateProcessW(program->c_str(), buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &started))
    return Started::no;
  CloseHandle(started.hThread);
  CloseHandle(started.hProcess);
  return Started::yes;
}

std::string Win32Process::executablePath() {
  std::vector<wchar_t> buffer(MAX_PATH);
  for (;;) {
    DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0) return {};
    if (n < buffer.size()) {
      std::string path = narrow(std::wstring_view(buffer.data(), n));
      std::replace(path.begin(), path.end(), '\\', '/');
      return path;
    }
    if (buffer.size() >= 32768) return {};
    buffer.resize(buffer.size() * 2);
  }
}

}  // namespace qv::win
