#pragma once
// Services for a system that lacks them: each answers as its interface says
// it does when the service is absent.

#include "platform/platform.h"

namespace qv::absent {

struct NoThermal : Thermal {
  std::optional<std::vector<ThermalZone>> zones() override { return std::nullopt; }
};
struct NoDisks : Disks {
  std::optional<std::vector<DiskTemperature>> temperatures() override { return std::nullopt; }
};
struct NoCpuTimes : CpuTimes {
  std::optional<int> processorCount() override { return std::nullopt; }
  std::optional<std::int64_t> systemTime() override { return std::nullopt; }
  std::optional<std::int64_t> idleTime() override { return std::nullopt; }
};
struct NoMemory : Memory {
  std::optional<MemoryStatus> status() override { return std::nullopt; }
};
struct NoTray : Tray {
  bool notify(TrayAction, const TrayIconData&) override { return false; }
};
struct NoTone : Tone {
  void beep(int, int) override {}
};
struct NoProcess : Process {
  Started run(const std::string&, int) override { return Started::no; }
  std::string executablePath() override { return {}; }
};
struct NoPower : Power {
  bool powerOff() override { return false; }
  bool restart() override { return false; }
  bool restartNow() override { return false; }
  bool suspend() override { return false; }
};
struct NoAutostart : Autostart {
  bool add(const std::string&, const std::string&) override { return false; }
  bool remove(const std::string&) override { return false; }
};
struct NoDisplayPower : DisplayPower {
  bool displayOff() override { return false; }
};
struct NoMedia : Media {
  bool send(const std::string&) override { return false; }
};
struct NoSettings : SettingsBackend {
  std::optional<std::string> read(std::string_view, std::string_view, std::string_view) override {
    return std::nullopt;
  }
  bool write(std::string_view, std::string_view, std::string_view, std::string_view) override {
    return false;
  }
};

}  // namespace qv::absent
