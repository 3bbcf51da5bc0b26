#include "sensing/disk_sensor_status.h"

#include <optional>
#include <vector>

#include "platform/disks.h"
#include "runtime/program.h"

namespace qv {
namespace {

class WatchedDisks final : public Disks {
 public:
  std::optional<std::vector<SmartTable>> smartTables() override {
    auto tables = program->platform().disks.smartTables();
    // Only disks that report a temperature have a table.
    if (tables && !tables->empty()) answered = true;
    return tables;
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
