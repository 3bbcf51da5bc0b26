#pragma once
#include <string>

namespace qv {

// How a started program's window should appear.
namespace windowstyle {
inline constexpr int hidden = 0;
inline constexpr int normal = 1;     // normal, with the input focus
inline constexpr int minimized = 2;  // minimized, with the input focus
}  // namespace windowstyle

// What became of a command line.
enum class Started {
  yes,      // started; for a power line, the system took the request
  no,       // the line is unknown, or nothing could be started
  refused,  // a power line the system answered with no: the machine stays up
};

class Process {
 public:
  virtual ~Process() = default;
  // Starts one of the program's fixed command lines without waiting for it.
  // Where a power line only starts a program (Windows), its outcome is
  // unknown and never `refused`.
  virtual Started run(const std::string& commandLine, int windowStyle) = 0;
  // The real path of the running executable; empty when unknown.
  virtual std::string executablePath() = 0;
};

}  // namespace qv
