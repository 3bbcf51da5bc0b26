#pragma once
#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/linux/sensor_scan.h"
#include "platform/thermal.h"

namespace qv::lnx {

// The CPU temperature from sysfs: the sensors that the ranked rules of
// chooseCpuSensors() pick (the packages, dies or clusters of the CPU; the
// ACPI zones only when there is nothing better), the hottest last.
//
// Found once, read cheaply: the sensors are scanned at the first reading and
// again when a chosen one stops answering (a driver reloaded), then at every
// reading for up to `rescan` while fewer or worse sensors answer than before;
// while nothing better than a stand-in was found, also every `rescan`. In
// between, a reading is one small file read per chosen sensor. Sensors that
// went quiet for a worse one are tried again at each reading, and taken back
// when they answer.
//
// Once sensors have answered, a call in which none answers is a failed
// reading, not a machine without sensors: the program then keeps its last
// value instead of showing 0 degrees, which would silence the warnings.
class SysfsThermal : public Thermal {
 public:
  explicit SysfsThermal(std::filesystem::path root = "/",
                        std::chrono::milliseconds rescan = std::chrono::minutes(1));
  std::optional<std::vector<ThermalZone>> zones() override;

 private:
  struct Source {
    std::string name;
    std::filesystem::path input;
    std::int32_t critical = 0;  // tenths of a kelvin, 0 when none
  };
  void scan(Rescans::Clock::time_point now);
  // Those of the sensors that answer; `lost` when one does not.
  static std::vector<ThermalZone> read(const std::vector<Source>& sources, bool& lost);

  std::filesystem::path root_;
  Rescans rescans_;
  bool listed_ = false;  // a sensor class directory could be opened
  std::vector<Source> sources_;
  long rank_ = 0;              // standing of the chosen rule, higher better; 0 none
  std::vector<Source> quiet_;  // a better choice that went quiet
  long quietRank_ = 0;
  bool answered_ = false;  // some call found a sensor
};

}  // namespace qv::lnx
