#pragma once
#include <optional>
#include <string>

#include "platform/autostart.h"

namespace qv::win {

// Log-on start through the Run key of the user's own part of the registry
// (HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Run): a
// program run by an ordinary user can write it, and it starts the program
// for that user only, which is what a per-user tray program wants.
class RunKeyAutostart : public Autostart {
 public:
  // `key` below HKEY_CURRENT_USER; tests give one of their own.
  explicit RunKeyAutostart(std::wstring key = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run");
  bool add(const std::string& name, const std::string& path) override;
  bool remove(const std::string& name) override;

 private:
  std::wstring key_;
};

// The command line that starts exactly `path` with no argument: backslashes
// as Windows writes them, and quotes around a path with a space in it, which
// the system would otherwise split. nullopt for text that is not UTF-8.
std::optional<std::wstring> runCommand(const std::string& path);

}  // namespace qv::win
