#include "platform/linux/sysfs_thermal.h"

#include <algorithm>
#include <utility>

#include "platform/linux/sysfs_read.h"

namespace qv::lnx {
namespace {

std::int32_t deciKelvin(std::int64_t milliC) {
  const std::int64_t deciC = milliC >= 0 ? (milliC + 50) / 100 : -((-milliC + 50) / 100);
  return static_cast<std::int32_t>(deciC + 2732);
}

// How good a reading was, for Rescans: the rule's place first, then how many
// of its sensors answered.
long standing(long rank, std::size_t answered) {
  return answered == 0 ? 0 : rank * 1024 + static_cast<long>(std::min<std::size_t>(answered, 1023));
}

}  // namespace

SysfsThermal::SysfsThermal(std::filesystem::path root, std::chrono::milliseconds rescan)
    : root_(std::move(root)), rescans_(rescan) {}

void SysfsThermal::scan(Rescans::Clock::time_point now) {
  std::vector<Source> previous = std::move(sources_);
  const long previousRank = rank_;
  const auto sensors = scanThermalSensors(root_);
  listed_ = sensors.has_value();
  sources_.clear();
  rank_ = 0;
  bool standIn = true;
  if (sensors) {
    const CpuChoice choice = chooseCpuSensors(*sensors);
    if (choice.rule) {
      rank_ = static_cast<long>(cpuRules().size() - choice.rank);
      standIn = choice.rule->standIn;
    }
    for (std::size_t i : choice.sensors) {
      const TemperatureSensor& s = (*sensors)[i];
      sources_.push_back({s.name(), s.input, s.criticalMilliC ? deciKelvin(*s.criticalMilliC) : 0});
    }
  }
  if (previousRank > rank_ && previousRank > quietRank_) {
    quiet_ = std::move(previous);
    quietRank_ = previousRank;
  } else if (rank_ >= quietRank_) {
    quiet_.clear();
    quietRank_ = 0;
  }
  rescans_.scanned(now, standIn);
}

std::vector<ThermalZone> SysfsThermal::read(const std::vector<Source>& sources, bool& lost) {
  lost = false;
  std::vector<ThermalZone> out;
  for (const Source& source : sources) {
    const auto milliC = sysfs::readInteger(source.input);
    if (!milliC || !plausibleCpu(*milliC)) {
      lost = true;
      continue;
    }
    out.push_back({source.name, deciKelvin(*milliC), source.critical});
  }
  return out;
}

std::optional<std::vector<ThermalZone>> SysfsThermal::zones() {
  const auto now = Rescans::Clock::now();
  bool fresh = false;
  if (rescans_.due(now)) {
    scan(now);
    fresh = true;
  }
  if (!listed_) return std::nullopt;
  bool lost = false;
  auto out = read(sources_, lost);
  if (lost && !fresh) {
    // A chosen sensor went quiet: the next in line, or the same one come back
    // elsewhere, is looked for at once.
    scan(now);
    if (!listed_) return std::nullopt;
    out = read(sources_, lost);
  }
  if (!quiet_.empty()) {
    // A sensor giving garbage for a while, or a driver reloaded into the same
    // place, answers again in its old file.
    auto back = read(quiet_, lost);
    if (!back.empty()) {
      sources_ = std::move(quiet_);
      rank_ = quietRank_;
      quiet_.clear();
      quietRank_ = 0;
      out = std::move(back);
    }
  }
  rescans_.reading(now, standing(rank_, out.size()));
  // The program shows the last zone: the hottest package or cluster.
  std::stable_sort(out.begin(), out.end(), [](const ThermalZone& a, const ThermalZone& b) {
    return a.current < b.current;
  });
  if (out.empty() && answered_) return std::nullopt;
  answered_ = answered_ || !out.empty();
  return out;
}

}  // namespace qv::lnx
