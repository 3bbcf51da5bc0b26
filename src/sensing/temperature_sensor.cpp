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
  auto disks = disks_.temperatures();
  if (!disks) return;
  std::int16_t temp = 0;
  for (const DiskTemperature& disk : *disks) temp = disk.celsius;  // the last disk wins
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
