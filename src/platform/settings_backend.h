#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace qv {

// The per-user string store: (application, section, key) -> value.
class SettingsBackend {
 public:
  virtual ~SettingsBackend() = default;
  // The stored value; nullopt when the key, its section or its application is
  // missing, or when the store cannot be read.
  virtual std::optional<std::string> read(std::string_view app, std::string_view section,
                                          std::string_view key) = 0;
  // Stores the value; false when it cannot be written.
  virtual bool write(std::string_view app, std::string_view section, std::string_view key,
                     std::string_view value) = 0;
  // From hold() to commit() the writes may be kept back: they read back at
  // once and reach the store together, in one atomic write. commit() is
  // false, and what was kept is dropped, when they cannot be written.
  virtual void hold() {}
  virtual bool commit() { return true; }
};

}  // namespace qv
