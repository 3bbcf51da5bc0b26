#pragma once
// A throw-away sysfs tree for the services under test: built file by file or
// copied from a fixture machine, and removed again when the test ends.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

namespace qv::sysfs_test {

inline std::filesystem::path machine(std::string_view name) {
  return std::filesystem::path(QUORVANE_TEST_DATA) / "machines" / name;
}

class SysfsTree {
 public:
  SysfsTree() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "quorvane-sysfs-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr)
      ADD_FAILURE() << "cannot create a temporary directory";
    root_ = pattern;
  }
  // A copy of a fixture machine; relative symlinks keep working inside it.
  explicit SysfsTree(std::string_view fixture) : SysfsTree() {
    std::filesystem::copy(
        machine(fixture), root_,
        std::filesystem::copy_options::recursive | std::filesystem::copy_options::copy_symlinks);
  }
  ~SysfsTree() {
    std::error_code ec;
    std::filesystem::remove_all(root_, ec);
  }
  SysfsTree(const SysfsTree&) = delete;
  SysfsTree& operator=(const SysfsTree&) = delete;

  const std::filesystem::path& root() const { return root_; }

  // Writes a file as sysfs shows it: the value and a newline.
  void file(const std::string& relative, std::string_view value) const {
    const auto path = root_ / relative;
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path) << value << '\n';
  }
  void dir(const std::string& relative) const {
    std::filesystem::create_directories(root_ / relative);
  }
  void remove(const std::string& relative) const { std::filesystem::remove_all(root_ / relative); }

 private:
  std::filesystem::path root_;
};

}  // namespace qv::sysfs_test
