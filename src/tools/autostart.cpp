#include "tools/autostart.h"

#include <string>

#include "forms/form1.h"
#include "runtime/failure.h"
#include "runtime/program.h"

namespace qv {
namespace {

// The executable's file name without its extension; Windows paths use either
// separator.
std::string baseName(const std::string& path) {
  std::string name = path.substr(path.find_last_of("/\\") + 1);
  std::size_t dot = name.find_last_of('.');
  return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}

}  // namespace

void installAutostart(Program& program) {
  program.onCreate<Form1>([](Form1& f) {
    Program& p = f.program();
    // Failures stay silent: the option still shows as applied.
    f.Command21.onClick = [&p] {
      std::string path = p.platform().process.executablePath();
      if (!path.empty()) p.platform().autostart.add(baseName(path), path);
    };
    f.Command22.onClick = [&p] {
      std::string path = p.platform().process.executablePath();
      if (!path.empty()) p.platform().autostart.remove(baseName(path));
    };
  });
}

}  // namespace qv
