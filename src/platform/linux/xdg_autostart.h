#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "platform/autostart.h"

namespace qv::lnx {

// Log-on start through <config>/autostart/<name>.desktop, the desktop entry
// every freedesktop session reads. The entry is replaced atomically, so a
// crash leaves either the old entry or the new one.
class XdgAutostart : public Autostart {
 public:
  // `configDir` defaults to configHome().
  explicit XdgAutostart(std::string configDir = {});
  bool add(const std::string& name, const std::string& path) override;
  bool remove(const std::string& name) override;

  std::string entryPath(const std::string& name) const;

 private:
  std::string dir_;
};

// `path` as the Exec value that runs exactly that program with no argument:
// quoted as one argument, "%" doubled, then escaped as a string value.
// nullopt for text a desktop entry cannot hold (invalid UTF-8, control
// characters other than tab, newline and carriage return).
std::optional<std::string> execValue(std::string_view path);

}  // namespace qv::lnx
