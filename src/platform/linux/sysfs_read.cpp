#include "platform/linux/sysfs_read.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <system_error>

namespace qv::lnx::sysfs {
namespace {

// Attribute files are at most a page; anything longer is not what we expect.
constexpr std::size_t kMaxAttributeSize = 4096;

bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

}  // namespace

std::optional<std::string> readText(const std::filesystem::path& file) {
  const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) return std::nullopt;
  std::string text(kMaxAttributeSize, '\0');
  std::size_t used = 0;
  bool ok = true;
  while (used < text.size()) {
    const ssize_t n = ::read(fd, text.data() + used, text.size() - used);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) ok = false;  // EIO, ENODATA...: the driver has no reading now
    if (n <= 0) break;
    used += static_cast<std::size_t>(n);
  }
  ::close(fd);
  if (!ok) return std::nullopt;
  text.resize(used);
  while (!text.empty() && (text.back() == '\n' || text.back() == ' ' || text.back() == '\t')) {
    text.pop_back();
  }
  return text;
}

std::optional<std::int64_t> readInteger(const std::filesystem::path& file) {
  const auto text = readText(file);
  if (!text || text->empty()) return std::nullopt;
  std::int64_t value = 0;
  const char* end = text->data() + text->size();
  const auto [ptr, ec] = std::from_chars(text->data(), end, value);
  if (ec != std::errc{} || ptr != end) return std::nullopt;
  return value;
}

std::optional<std::vector<std::string>> entries(const std::filesystem::path& dir) {
  std::error_code ec;
  std::filesystem::directory_iterator it(dir, ec);
  if (ec) return std::nullopt;
  std::vector<std::string> names;
  for (; it != std::filesystem::directory_iterator(); it.increment(ec)) {
    if (ec) break;
    std::string name = it->path().filename().string();
    if (!name.empty() && name.front() != '.') names.push_back(std::move(name));
  }
  std::sort(names.begin(), names.end(),
            [](const std::string& a, const std::string& b) { return naturalLess(a, b); });
  return names;
}

void Listings::newRound() {
  const auto now = std::chrono::steady_clock::now();
  if (now - taken_ < keep_) return;
  kept_.clear();
  taken_ = now;
}

const std::optional<std::vector<std::string>>& Listings::entries(const std::filesystem::path& dir) {
  auto it = kept_.find(dir);
  if (it == kept_.end()) it = kept_.emplace(dir, sysfs::entries(dir)).first;
  return it->second;
}

std::optional<int> numberAfter(std::string_view name, std::string_view prefix) {
  if (!name.starts_with(prefix) || name.size() == prefix.size()) return std::nullopt;
  const std::string_view digits = name.substr(prefix.size());
  int value = 0;
  const auto [ptr, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (ec != std::errc{} || ptr != digits.data() + digits.size() || !isDigit(digits.front())) {
    return std::nullopt;
  }
  return value;
}

bool naturalLess(std::string_view a, std::string_view b) {
  std::size_t i = 0;
  std::size_t j = 0;
  while (i < a.size() && j < b.size()) {
    if (isDigit(a[i]) && isDigit(b[j])) {
      const std::size_t ai = i;
      const std::size_t bj = j;
      while (i < a.size() && isDigit(a[i])) ++i;
      while (j < b.size() && isDigit(b[j])) ++j;
      std::string_view da = a.substr(ai, i - ai);
      std::string_view db = b.substr(bj, j - bj);
      while (da.size() > 1 && da.front() == '0') da.remove_prefix(1);
      while (db.size() > 1 && db.front() == '0') db.remove_prefix(1);
      if (da.size() != db.size()) return da.size() < db.size();
      if (da != db) return da < db;
      continue;
    }
    if (a[i] != b[j]) return a[i] < b[j];
    ++i;
    ++j;
  }
  if ((a.size() - i) != (b.size() - j)) return (a.size() - i) < (b.size() - j);
  return a < b;  // equal by value ("01" vs "1"): any fixed order will do
}

}  // namespace qv::lnx::sysfs
