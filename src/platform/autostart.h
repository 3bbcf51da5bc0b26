#pragma once
#include <string>

namespace qv {

class Autostart {
 public:
  virtual ~Autostart() = default;
  // Registers `path` (no arguments) to start at log-on under `name`,
  // replacing an entry of that name. False when it cannot be written.
  virtual bool add(const std::string& name, const std::string& path) = 0;
  // Removes the entry; true also when there was none. False when it exists
  // and cannot be removed.
  virtual bool remove(const std::string& name) = 0;
};

}  // namespace qv
