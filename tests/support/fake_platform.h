#pragma once
// A scripted platform for tests: sensor readings are set by the test, every
// call the program makes is recorded, and time is virtual.

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "platform/platform.h"
#include "support/virtual_clock.h"

namespace qv::test {

struct FakeThermal : Thermal {
  std::optional<std::vector<ThermalZone>> reading = std::vector<ThermalZone>{};
  int calls = 0;
  std::optional<std::vector<ThermalZone>> zones() override {
    ++calls;
    return reading;
  }
  // One zone at the given temperature in tenths of a kelvin.
  void set(std::int32_t deciKelvin) { reading = std::vector<ThermalZone>{{"zone", deciKelvin, 0}}; }
};

struct FakeDisks : Disks {
  std::optional<std::vector<DiskTemperature>> reading = std::vector<DiskTemperature>{};
  int calls = 0;
  std::optional<std::vector<DiskTemperature>> temperatures() override {
    ++calls;
    return reading;
  }
  // One disk at the given temperature.
  void set(int celsius) {
    reading = std::vector<DiskTemperature>{{"disk", static_cast<std::int16_t>(celsius)}};
  }
};

struct FakeCpu : CpuTimes {
  std::optional<int> processors = 4;
  std::optional<std::int64_t> time = 0;
  std::optional<std::int64_t> idle = 0;
  std::optional<int> processorCount() override { return processors; }
  std::optional<std::int64_t> systemTime() override { return time; }
  std::optional<std::int64_t> idleTime() override { return idle; }
};

struct FakeMemory : Memory {
  std::optional<MemoryStatus> reading = MemoryStatus{};
  std::optional<MemoryStatus> status() override { return reading; }
};

struct FakeTray : Tray {
  struct Call {
    TrayAction action;
    TrayIconData data;
    bool accepted;
  };
  struct Balloon {
    std::string title;
    std::string text;
    int kind;
  };
  bool available = true;  // a tray host is running
  std::vector<Call> calls;
  std::map<int, TrayIconData> icons;  // what the tray shows now, by id
  std::vector<Balloon> balloons;

  bool notify(TrayAction action, const TrayIconData& data) override;
  bool present(int id) const { return icons.count(id) != 0; }
  // The tray host restarts and forgets every icon.
  void restartHost() { icons.clear(); }
  // The user acts on an icon.
  void mouse(int id, int button) {
    if (onMouse) onMouse(id, button);
  }
  // The user picks an entry of the menu the tray shows itself.
  void choose(int id, const std::string& item) {
    if (onMenu) onMenu(id, item);
  }
};

struct FakeTone : Tone {
  std::vector<std::pair<int, int>> tones;  // frequency, length
  void beep(int frequencyHz, int lengthMs) override { tones.emplace_back(frequencyHz, lengthMs); }
};

struct FakeProcess : Process {
  std::vector<std::pair<std::string, int>> runs;  // command line, window style
  bool fails = false;                             // nothing can be started
  bool refuses = false;  // the system says no, as logind does to a power action
  std::string path = "/opt/quorvane/bin/quorvane";
  Started run(const std::string& commandLine, int windowStyle) override {
    runs.emplace_back(commandLine, windowStyle);
    return refuses ? Started::refused : fails ? Started::no : Started::yes;
  }
  std::string executablePath() override { return path; }
};

struct FakePower : Power {
  std::vector<std::string> calls;
  std::function<void()> whileAsleep;  // runs inside suspend(), as time passing in sleep
  bool refuses = false;
  bool powerOff() override { return record("powerOff"); }
  bool restart() override { return record("restart"); }
  bool restartNow() override { return record("restartNow"); }
  bool suspend() override {
    bool ok = record("suspend");
    if (whileAsleep) whileAsleep();
    return ok;
  }

 private:
  bool record(const char* call) {
    calls.emplace_back(call);
    return !refuses;
  }
};

struct FakeAutostart : Autostart {
  std::vector<std::string> calls;  // "add <name> <path>", "remove <name>"
  bool fails = false;
  bool add(const std::string& name, const std::string& path) override {
    calls.push_back("add " + name + " " + path);
    return !fails;
  }
  bool remove(const std::string& name) override {
    calls.push_back("remove " + name);
    return !fails;
  }
};

struct FakeDisplay : DisplayPower {
  int offs = 0;
  bool fails = false;  // the desktop cannot switch the display off
  bool displayOff() override {
    ++offs;
    return !fails;
  }
};

struct FakeMedia : Media {
  std::vector<std::string> commands;
  bool fails = false;  // no optical drive
  bool send(const std::string& command) override {
    commands.push_back(command);
    return !fails;
  }
};

// The settings store in memory.
struct MemoryStore : SettingsBackend {
  using Key = std::tuple<std::string, std::string, std::string>;
  std::map<Key, std::string> values;
  std::vector<std::string> writes;  // "app/section/key=value", in order
  bool readsFail = false;
  bool writesFail = false;
  // How many writes each commit carried, for the commits that carried any:
  // one handler's writes are one batch.
  std::vector<std::size_t> batches;

  std::optional<std::string> read(std::string_view app, std::string_view section,
                                  std::string_view key) override;
  bool write(std::string_view app, std::string_view section, std::string_view key,
             std::string_view value) override;
  void hold() override { held = writes.size(); }
  bool commit() override {
    if (writes.size() > held) batches.push_back(writes.size() - held);
    held = writes.size();
    return true;
  }
  void put(const std::string& app, const std::string& section, const std::string& key,
           const std::string& value) {
    values[{app, section, key}] = value;
  }
  std::optional<std::string> get(const std::string& app, const std::string& section,
                                 const std::string& key) const;

 private:
  std::size_t held = 0;
};

struct FakePlatform {
  VirtualClock clock;
  FakeThermal thermal;
  FakeDisks disks;
  FakeCpu cpu;
  FakeMemory memory;
  FakeTray tray;
  FakeTone tone;
  FakeProcess process;
  FakePower power;
  FakeAutostart autostart;
  FakeDisplay display;
  FakeMedia media;
  MemoryStore store;
  Platform platform{clock,   thermal, disks,     cpu,     memory, tray, tone,
                    process, power,   autostart, display, media,  store};
};

}  // namespace qv::test
