#include "sensing/temperature_sensor.h"

#include "forms/form1.h"
#include "platform/disks.h"
#include "platform/thermal.h"
#include "runtime/convert.h"
#include "runtime/program.h"
#include "sensing/cpu_sensor_status.h"
#include "sensing/disk_sensor_status.h"

namespace qv {

float Class1::KelvinToCelsius(float raw) {
  return (raw - 2732.0f) / 10.0f;
}

void Class1::QueryCPUTemperature() {
  auto zones = thermal_.zones();
  if (!zones) return;
  float t = 0;
  for (const ThermalZone& zone : *zones) t = KelvinToCelsius(static_cast<float>(zone.current));
  if (t < 50) {
    if (CPUTempOK) CPUTempOK(t);
  } else if (CPUTempWarning) {
    CPUTempWarning(t);
  }
}

float Class1::CPUCriticalTemp() {
  auto zones = thermal_.zones();
  float t = 0;
  if (!zones) return t;
  for (const ThermalZone& zone : *zones) t = KelvinToCelsius(static_cast<float>(zone.critical));
  return t;
}

void Class1::QueryHDDTemperature() {
  auto tables = disks_.smartTables();
  if (!tables) return;
  std::int16_t temp = 0;
  // Thirty attribute entries of 12 bytes from byte 2; only an entry's id byte
  // names the attribute, and 194 is the temperature, whose raw value starts
  // five bytes further on.
  constexpr std::size_t kEntries = 30, kFirst = 2, kEntrySize = 12, kRaw = 5;
  for (const SmartTable& table : *tables) {
    if (table.size() < kFirst + kEntries * kEntrySize) return;  // a broken table: no event
    for (std::size_t k = 0; k < kEntries; ++k) {
      std::size_t id = kFirst + k * kEntrySize;
      if (table[id] == 194) temp = table[id + kRaw];
    }
  }
  if (temp < 50) {
    if (HDDTempOK) HDDTempOK(temp);
  } else if (HDDTempWarning) {
    HDDTempWarning(temp);
  }
}

void createTemperatures(Program& program) {
  auto sensor = std::make_unique<Class1>(watchedThermal(program), watchedDisks(program));
  Program* p = &program;
  auto ShowCPUTemperature = [p](float t) { p->form<Form1>().Label121.setText(textSingle(t)); };
  auto ShowHDDTemperature = [p](std::int16_t t) {
    p->form<Form1>().Label27.setText(text(static_cast<int>(t)));
  };
  sensor->CPUTempOK = sensor->CPUTempWarning = sensor->CPUTempCritical = ShowCPUTemperature;
  sensor->HDDTempOK = sensor->HDDTempWarning = sensor->HDDTempCritical = ShowHDDTemperature;
  program.state<MainSensor>().Temperatures = std::move(sensor);
}

void releaseTemperatures(Program& program) {
  program.state<MainSensor>().Temperatures.reset();
}

Class1& temperatures(Program& program) {
  auto& sensor = program.state<MainSensor>().Temperatures;
  if (!sensor) fail("no sensor object");
  return *sensor;
}

}  // namespace qv
