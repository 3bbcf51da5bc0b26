#pragma once
// Shared by the fuzz targets: property checks that abort (so libFuzzer keeps
// the input), a scratch directory per process, and files rewritten from the
// input.

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace qv::fuzz {

[[noreturn]] inline void broken(const char* what, const char* file, int line) {
  std::fprintf(stderr, "%s:%d: property does not hold: %s\n", file, line, what);
  std::abort();
}

// Variadic so that a condition may hold unparenthesised commas.
#define FUZZ_CHECK(...) \
  ((__VA_ARGS__) ? void() : ::qv::fuzz::broken(#__VA_ARGS__, __FILE__, __LINE__))

// QUORVANE_FUZZ_STRICT=1 also checks the properties that known, not yet
// fixed faults break; without it the targets step around those faults so
// that a run finds new ones (and the known ones do not fail every run).
inline bool strict() {
  static const bool on = [] {
    const char* value = std::getenv("QUORVANE_FUZZ_STRICT");
    return value != nullptr && std::string_view(value) == "1";
  }();
  return on;
}

// A fresh directory for this process, removed at a normal exit (libFuzzer's
// own exits skip that: run.sh gives it QUORVANE_FUZZ_SCRATCH and clears that
// afterwards). On tmpfs when there is one: the targets rewrite files for
// every input and the settings store syncs each write.
inline const std::filesystem::path& scratch() {
  static const std::filesystem::path dir = [] {
    std::error_code ec;
    std::filesystem::path base = "/dev/shm";
    if (const char* given = std::getenv("QUORVANE_FUZZ_SCRATCH"); given && *given)
      base = given;
    else if (::access(base.c_str(), W_OK) != 0)
      base = std::filesystem::temp_directory_path(ec);
    std::string pattern = (base / "quorvane-fuzz-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
      std::perror("quorvane fuzz: mkdtemp");
      std::abort();
    }
    return std::filesystem::path(pattern);
  }();
  // Registered after `dir` is built, so it runs before `dir` is destroyed.
  static const bool removedAtExit = std::atexit([] {
                                      std::error_code ignored;
                                      std::filesystem::remove_all(dir, ignored);
                                    }) == 0;
  (void)removedAtExit;
  return dir;
}

// Replaces whatever is at `path` (a file, a directory, a link) with a file
// holding exactly `bytes`.
inline void put(const std::filesystem::path& path, std::string_view bytes) {
  std::error_code ec;
  if (std::filesystem::is_directory(std::filesystem::symlink_status(path, ec)))
    std::filesystem::remove_all(path, ec);
  else if (std::filesystem::is_symlink(std::filesystem::symlink_status(path, ec)))
    std::filesystem::remove(path, ec);
  std::filesystem::create_directories(path.parent_path(), ec);
  int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  if (fd < 0) {
    std::perror(path.c_str());
    std::abort();
  }
  for (std::size_t done = 0; done < bytes.size();) {
    ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n <= 0) {
      std::perror(path.c_str());
      std::abort();
    }
    done += static_cast<std::size_t>(n);
  }
  ::close(fd);
}

inline std::string slurp(const std::filesystem::path& path) {
  std::string out;
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return out;
  char chunk[8192];
  for (ssize_t n; (n = ::read(fd, chunk, sizeof chunk)) > 0;)
    out.append(chunk, static_cast<std::size_t>(n));
  ::close(fd);
  return out;
}

// The input cut at each separator, at most `most` parts (the last one keeps
// any further separators).
inline std::vector<std::string_view> sections(std::string_view input, std::string_view separator,
                                              std::size_t most) {
  std::vector<std::string_view> out;
  while (out.size() + 1 < most) {
    std::size_t at = input.find(separator);
    if (at == std::string_view::npos) break;
    out.push_back(input.substr(0, at));
    input.remove_prefix(at + separator.size());
  }
  out.push_back(input);
  return out;
}

}  // namespace qv::fuzz
