#pragma once
#include <string>

namespace qv {

// How a started program's window should appear.
namespace windowstyle {
inline constexpr int hidden = 0;
inline constexpr int normal = 1;     // normal, with the input focus
inline constexpr int minimized = 2;  // minimized, with the input focus
}  // namespace windowstyle

class Process {
 public:
  virtual ~Process() = default;
  // Starts one of the program's fixed command lines without waiting for it.
  // False when the line is unknown or nothing could be started.
  virtual bool run(const std::string& commandLine, int windowStyle) = 0;
  // The real path of the running executable; empty when unknown.
  virtual std::string executablePath() = 0;
};

}  // namespace qv
