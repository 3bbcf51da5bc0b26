#include "platform/linux/proc_cpu.h"

#include <unistd.h>

#include <ctime>
#include <limits>
#include <string_view>
#include <utility>

#include "platform/linux/proc_file.h"

namespace qv::lnx {

namespace {

constexpr std::int64_t kUnitsPerSecond = 10'000'000;  // 100 ns units
// Seconds from 1601-01-01 to 1970-01-01, both UTC.
constexpr std::int64_t kEpochOffsetSeconds = 11'644'473'600;

// Where one "cpu..." line of /proc/stat stands.
struct CpuLine {
  bool aggregate = false;  // "cpu" itself, else "cpuN"
  std::uint64_t idle = 0;
  std::uint64_t iowait = 0;
};

bool parseNumber(std::string_view text, std::uint64_t& out) {
  if (text.empty()) return false;
  std::uint64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    unsigned digit = static_cast<unsigned>(c - '0');
    if (value > (std::numeric_limits<std::uint64_t>::max() - digit) / 10) return false;
    value = value * 10 + digit;
  }
  out = value;
  return true;
}

// Parses "cpu[N] user nice system idle iowait ..."; false when the line is
// not a cpu line or is malformed. Kernels since 2.6 have at least the five
// fields used here, so fewer means the line was cut short.
bool parseCpuLine(std::string_view line, CpuLine& out, bool& malformed) {
  malformed = false;
  if (line.substr(0, 3) != "cpu") return false;
  std::size_t nameEnd = line.find(' ');
  std::string_view name = line.substr(0, nameEnd);
  std::string_view suffix = name.substr(3);
  std::uint64_t ignored = 0;
  if (!suffix.empty() && !parseNumber(suffix, ignored)) return false;  // some other "cpu..." key
  out.aggregate = suffix.empty();
  malformed = true;
  if (nameEnd == std::string_view::npos) return false;
  std::string_view rest = line.substr(nameEnd);
  int index = 0;
  while (!rest.empty()) {
    std::size_t start = rest.find_first_not_of(' ');
    if (start == std::string_view::npos) break;
    rest.remove_prefix(start);
    std::size_t end = rest.find(' ');
    std::uint64_t value = 0;
    if (!parseNumber(rest.substr(0, end), value)) return false;
    if (index == 3) out.idle = value;
    if (index == 4) out.iowait = value;
    ++index;
    rest.remove_prefix(end == std::string_view::npos ? rest.size() : end);
  }
  malformed = index < 5;
  return !malformed;
}

// Walks the cpu lines of the file. False when the file is truncated (its last
// line has no newline) or a cpu line is malformed.
template <typename Visit>
bool forEachCpuLine(const std::string& text, Visit visit) {
  if (text.empty() || text.back() != '\n') return false;
  std::string_view rest(text);
  while (!rest.empty()) {
    std::size_t eol = rest.find('\n');
    std::string_view line = rest.substr(0, eol);
    rest.remove_prefix(eol + 1);
    CpuLine cpu;
    bool malformed = false;
    if (parseCpuLine(line, cpu, malformed))
      visit(cpu);
    else if (malformed)
      return false;
  }
  return true;
}

}  // namespace

std::optional<std::int64_t> ticksTo100ns(std::uint64_t ticks, long ticksPerSecond) {
  // Real tick rates are a few hundred per second; the bound keeps the
  // remainder's product below 2^64.
  if (ticksPerSecond <= 0 || ticksPerSecond > 1'000'000'000) return std::nullopt;
  auto hz = static_cast<std::uint64_t>(ticksPerSecond);
  // Whole seconds and the remainder separately, so nothing overflows early.
  std::uint64_t seconds = ticks / hz;
  std::uint64_t fraction = (ticks % hz) * kUnitsPerSecond / hz;
  constexpr auto max = static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max());
  if (seconds > (max - fraction) / kUnitsPerSecond) return std::nullopt;
  return static_cast<std::int64_t>(seconds * kUnitsPerSecond + fraction);
}

ProcCpuTimes::ProcCpuTimes(std::string root)
    : file_(std::move(root) + "/proc/stat"), ticksPerSecond_(::sysconf(_SC_CLK_TCK)) {}

std::optional<int> ProcCpuTimes::processorCount() {
  counted_ = file_.read(buffer_);
  if (!counted_) return std::nullopt;
  int count = 0;
  if (!forEachCpuLine(buffer_, [&](const CpuLine& cpu) { count += cpu.aggregate ? 0 : 1; }))
    return std::nullopt;
  if (count == 0) return std::nullopt;
  return count;
}

std::optional<std::int64_t> ProcCpuTimes::systemTime() {
  timespec now{};
  if (::clock_gettime(CLOCK_REALTIME, &now) != 0) return std::nullopt;
  return (static_cast<std::int64_t>(now.tv_sec) + kEpochOffsetSeconds) * kUnitsPerSecond +
         now.tv_nsec / 100;
}

std::optional<std::int64_t> ProcCpuTimes::idleTime() {
  const bool counted = std::exchange(counted_, false);
  if (!counted && !file_.read(buffer_)) return std::nullopt;
  std::optional<std::uint64_t> ticks;
  bool overflow = false;
  bool ok = forEachCpuLine(buffer_, [&](const CpuLine& cpu) {
    if (!cpu.aggregate || ticks) return;
    std::uint64_t sum = 0;
    overflow = __builtin_add_overflow(cpu.idle, cpu.iowait, &sum);
    ticks = sum;
  });
  if (!ok || !ticks || overflow) return std::nullopt;
  return ticksTo100ns(*ticks, ticksPerSecond_);
}

}  // namespace qv::lnx
