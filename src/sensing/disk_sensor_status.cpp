#include "sensing/disk_sensor_status.h"

#include <optional>
#include <vector>

#include "platform/disks.h"
#include "runtime/program.h"

namespace qv {
namespace {

class WatchedDisks final : public Disks {
 public:
  std::optional<std::vector<DiskTemperature>> temperatures() override {
    auto disks = program->platform().disks.temperatures();
    // Only disks that report a temperature are listed.
    if (disks && !disks->empty()) answered = true;
    return disks;
  }

  Program* program = nullptr;
  bool answered = false;
};

}  // namespace

Disks& watchedDisks(Program& program) {
  WatchedDisks& watched = program.state<WatchedDisks>();
  watched.program = &program;
  return watched;
}

bool diskSensorHasAnswered(Program& program) {
  return program.state<WatchedDisks>().answered;
}

}  // namespace qv
