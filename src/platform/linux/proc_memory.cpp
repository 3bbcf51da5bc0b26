#include "platform/linux/proc_memory.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "platform/linux/proc_file.h"

namespace qv::lnx {

namespace {

enum Field { Total, Available, Free, Buffers, Cached, SwapTotal, SwapFree, CommitLimit, Committed };
constexpr std::array<std::string_view, 9> kNames = {"MemTotal", "MemAvailable", "MemFree",
                                                    "Buffers",  "Cached",       "SwapTotal",
                                                    "SwapFree", "CommitLimit",  "Committed_AS"};

// Larger figures (over an exbibyte) are garbage; the bound also keeps the sums
// below from overflowing.
constexpr std::int64_t kMaxKilobytes = std::int64_t{1} << 50;

// "   1234 kB" -> bytes; false on anything else.
bool parseKilobytes(std::string_view text, std::int64_t& bytes) {
  std::size_t start = text.find_first_not_of(' ');
  if (start == std::string_view::npos) return false;
  text.remove_prefix(start);
  std::size_t end = text.find(' ');
  if (end == std::string_view::npos || text.substr(end) != " kB") return false;
  std::int64_t kb = 0;
  for (char c : text.substr(0, end)) {
    if (c < '0' || c > '9') return false;
    kb = kb * 10 + (c - '0');
    if (kb > kMaxKilobytes) return false;
  }
  bytes = kb * 1024;
  return true;
}

}  // namespace

ProcMemory::ProcMemory(std::string root) : file_(std::move(root) + "/proc/meminfo") {}

std::optional<MemoryStatus> ProcMemory::status() {
  if (!file_.read(buffer_) || buffer_.back() != '\n') return std::nullopt;
  std::array<std::optional<std::int64_t>, kNames.size()> values;
  std::string_view rest(buffer_);
  while (!rest.empty()) {
    std::size_t eol = rest.find('\n');
    std::string_view line = rest.substr(0, eol);
    rest.remove_prefix(eol + 1);
    std::size_t colon = line.find(':');
    if (colon == std::string_view::npos) continue;
    auto name = std::find(kNames.begin(), kNames.end(), line.substr(0, colon));
    if (name == kNames.end()) continue;
    std::int64_t bytes = 0;
    if (!parseKilobytes(line.substr(colon + 1), bytes)) return std::nullopt;
    values[static_cast<std::size_t>(name - kNames.begin())] = bytes;
  }
  if (!values[Total]) return std::nullopt;
  auto get = [&](Field f) { return values[f].value_or(0); };
  MemoryStatus s;
  s.totalPhysical = get(Total);
  s.availablePhysical = values[Available] ? get(Available) : get(Free) + get(Buffers) + get(Cached);
  s.totalPageFile = get(SwapTotal);
  s.availablePageFile = get(SwapFree);
  s.totalVirtual = get(CommitLimit);
  s.availableVirtual = std::max<std::int64_t>(0, get(CommitLimit) - get(Committed));
  return s;
}

}  // namespace qv::lnx
