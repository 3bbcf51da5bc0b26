#include "platform/linux/sensor_report.h"

#include <algorithm>
#include <array>
#include <optional>
#include <sstream>
#include <vector>

#include "platform/linux/sensor_scan.h"

namespace qv::lnx {
namespace {

using Kind = TemperatureSensor::Kind;
using Row = std::array<std::string, 6>;  // use, kind, driver, label, reading, device

// Rounded as the program rounds: CPU readings to tenths (halves away from
// zero), disks to whole degrees.
std::string degrees(std::int64_t milliC, bool tenths) {
  if (!tenths) return std::to_string((milliC + 500) / 1000) + " °C";
  const std::int64_t deci = milliC >= 0 ? (milliC + 50) / 100 : -((-milliC + 50) / 100);
  const std::int64_t whole = deci / 10;
  const std::int64_t tenth = deci % 10 < 0 ? -(deci % 10) : deci % 10;
  return (deci < 0 && whole == 0 ? "-" : "") + std::to_string(whole) + "." + std::to_string(tenth) +
         " °C";
}

// Columns are lined up by characters, not bytes: "°" is two.
std::size_t width(const std::string& text) {
  return static_cast<std::size_t>(
      std::count_if(text.begin(), text.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

std::string table(const std::vector<Row>& rows) {
  std::array<std::size_t, 6> widths{};
  for (const Row& row : rows)
    for (std::size_t i = 0; i < row.size(); ++i) widths[i] = std::max(widths[i], width(row[i]));
  std::string out;
  for (const Row& row : rows) {
    std::string line;
    for (std::size_t i = 0; i < row.size(); ++i) {
      line += row[i];
      if (i + 1 < row.size()) line += std::string(widths[i] - width(row[i]) + 2, ' ');
    }
    while (!line.empty() && line.back() == ' ') line.pop_back();
    out += "  " + line + "\n";
  }
  return out;
}

std::string kindName(Kind kind) {
  switch (kind) {
    case Kind::Hwmon:
      return "hwmon";
    case Kind::Zone:
      return "zone";
    case Kind::Disk:
      break;
  }
  return "disk";
}

// The sensor of `chosen` with the highest reading, the last of equals: the
// one the services hand over last.
std::optional<std::size_t> hottest(const std::vector<TemperatureSensor>& sensors,
                                   const std::vector<std::size_t>& chosen) {
  std::optional<std::size_t> best;
  for (std::size_t i : chosen)
    if (!best || *sensors[i].milliC >= *sensors[*best].milliC) best = i;
  return best;
}

std::string rules() {
  std::string out;
  int n = 0;
  for (const CpuRule& rule : cpuRules()) {
    out += "  " + std::to_string(++n) + ". " + kindName(rule.kind) + " " + std::string(rule.driver);
    if (rule.label == "-")
      out += ", no label";
    else if (!rule.label.empty())
      out += ", label " + std::string(rule.label);
    out += ": " + std::string(rule.meaning) + "\n";
  }
  return out;
}

}  // namespace

std::string sensorReport(const std::filesystem::path& root, UdisksFallback udisks) {
  const auto thermal = scanThermalSensors(root);
  const auto disks = SysfsDisks(root, udisks).sensors();
  std::vector<TemperatureSensor> sensors = thermal.value_or(std::vector<TemperatureSensor>{});
  const CpuChoice cpu = chooseCpuSensors(sensors);
  const std::size_t firstDisk = sensors.size();
  std::vector<std::size_t> readDisks;
  for (const TemperatureSensor& d : disks.value_or(std::vector<TemperatureSensor>{})) {
    if (d.milliC && !d.asleep) readDisks.push_back(sensors.size());
    sensors.push_back(d);
  }
  const auto cpuShown = hottest(sensors, cpu.sensors);
  const auto diskShown = hottest(sensors, readDisks);

  std::ostringstream out;
  out << "Temperature sensors below " << root.string() << "\n\n";
  if (cpuShown) {
    const TemperatureSensor& s = sensors[*cpuShown];
    out << "CPU temperature: " << degrees(*s.milliC, true) << " from " << s.name();
    if (cpu.sensors.size() > 1) out << ", the hottest of " << cpu.sensors.size();
    out << "\n  rule " << cpu.rank + 1 << ": " << cpu.rule->meaning << "\n";
  } else {
    out << "CPU temperature: no sensor found; the program shows 0 and \"无\"\n";
  }
  if (diskShown) {
    const TemperatureSensor& s = sensors[*diskShown];
    out << "Disk temperature: " << degrees(*s.milliC, false) << " from " << s.name() << " ("
        << s.driver << ")";
    if (readDisks.size() > 1) out << ", the hottest of " << readDisks.size() << " disks";
    out << "\n";
  } else {
    out << "Disk temperature: no disk reports one\n";
  }
  out << "\n";

  if (!thermal) out << "Neither sys/class/hwmon nor sys/class/thermal can be read.\n";
  if (!disks) out << "sys/block cannot be read.\n";
  std::vector<Row> rows{{"use", "kind", "driver", "label", "reading", "device"}};
  for (std::size_t i = 0; i < sensors.size(); ++i) {
    const TemperatureSensor& s = sensors[i];
    std::string use;
    if (std::find(cpu.sensors.begin(), cpu.sensors.end(), i) != cpu.sensors.end())
      use = i == cpuShown ? "CPU" : "cpu";
    else if (std::find(readDisks.begin(), readDisks.end(), i) != readDisks.end())
      use = i == diskShown ? "DISK" : "disk";
    std::string reading = "-";
    if (s.asleep)
      reading = "asleep";
    else if (s.milliC)
      reading = degrees(*s.milliC, i < firstDisk);
    else if (s.kind == Kind::Disk && s.driver.empty())
      reading = "no sensor";
    const std::string driver = s.driver.empty() ? "-" : s.driver;
    rows.push_back({use.empty() ? "-" : use, kindName(s.kind), driver,
                    s.label.empty() ? "-" : s.label, reading,
                    s.device.empty() ? s.entry : s.device});
  }
  if (sensors.empty())
    out << "No temperature sensor found.\n";
  else
    out << table(rows);
  out << "\nCPU, DISK: shown now; cpu, disk: read too, the hottest is shown.\n"
      << "\nThe CPU sensors are those of the first rule below that a sensor with a\n"
      << "reading matches; the hottest of them is shown. Case does not matter, '-' and\n"
      << "'_' are alike, '*' stands for anything.\n"
      << rules() << "\nIf the CPU or disk temperature shown is not the one you expect, paste\n"
      << "this output into a bug report.\n";
  return out.str();
}

}  // namespace qv::lnx
