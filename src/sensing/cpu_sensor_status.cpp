#include "sensing/cpu_sensor_status.h"

#include <cstdio>
#include <optional>
#include <vector>

#include "platform/clock.h"
#include "platform/thermal.h"
#include "runtime/program.h"

namespace qv {
namespace {

class WatchedThermal final : public Thermal {
 public:
  std::optional<std::vector<ThermalZone>> zones() override {
    auto zones = program->platform().thermal.zones();
    asked = true;
    // No answer at all leaves the last one standing, as it leaves the
    // readout.
    if (!zones) return zones;
    if (zones->empty()) {
      sensor.clear();
      answered.reset();
    } else {
      // The last zone is the one the reading comes from.
      sensor = zones->back().name;
      answered = program->platform().clock.localTime();
      everAnswered = true;
    }
    return zones;
  }

  Program* program = nullptr;
  bool asked = false;
  bool everAnswered = false;
  std::string sensor;
  std::optional<DateTime> answered;
};

std::string twoDigits(int n) {
  char out[8];
  std::snprintf(out, sizeof out, "%02d", n);
  return out;
}

}  // namespace

Thermal& watchedThermal(Program& program) {
  WatchedThermal& watched = program.state<WatchedThermal>();
  watched.program = &program;
  return watched;
}

bool cpuSensorHasAnswered(Program& program) {
  return program.state<WatchedThermal>().everAnswered;
}

std::string cpuSensorLine(Program& program) {
  const WatchedThermal& w = program.state<WatchedThermal>();
  std::string line = "CPU温度传感器：";
  if (!w.asked) return line + "检测中...";
  if (!w.answered) return line + "无";
  const DateTime& t = *w.answered;
  const DateTime today = program.platform().clock.localTime();
  std::string when;
  if (t.year != today.year || t.month != today.month || t.day != today.day)
    when = std::to_string(t.month) + "月" + std::to_string(t.day) + "日 ";
  when += twoDigits(t.hour) + ":" + twoDigits(t.minute) + ":" + twoDigits(t.second);
  return line + w.sensor + "，" + when;
}

}  // namespace qv
