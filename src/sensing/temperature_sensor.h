#pragma once
// The temperature sensor: on request it reads the CPU temperature from the
// thermal zones and the disk temperature from the disks and reports the
// result through one of its events. It keeps no state.

#include <cstdint>
#include <functional>
#include <memory>

namespace qv {

class Program;
class Thermal;
class Disks;

class Class1 {
 public:
  Class1(Thermal& thermal, Disks& disks) : thermal_(thermal), disks_(disks) {}

  // Raises CPUTempOK below 50 degrees, else CPUTempWarning; nothing when the
  // zones cannot be read.
  void QueryCPUTemperature();
  // The critical trip point of the last zone; 0 when there is none.
  float CPUCriticalTemp();
  // Raises HDDTempOK below 50 degrees, else HDDTempWarning, for the last
  // disk; nothing when the disks cannot be read.
  void QueryHDDTemperature();

  std::function<void(float)> CPUTempOK, CPUTempWarning, CPUTempCritical;
  std::function<void(std::int16_t)> HDDTempOK, HDDTempWarning, HDDTempCritical;

 private:
  static float KelvinToCelsius(float raw);

  Thermal& thermal_;
  Disks& disks_;
};

// The main window's sensor object and its event handlers, which write the
// raw readings into Label121 (CPU) and Label27 (disk).
struct MainSensor {
  std::unique_ptr<Class1> Temperatures;
};
// Replaces the main window's sensor object with a new one.
void createTemperatures(Program& program);
void releaseTemperatures(Program& program);
// The main window's sensor object; fails when there is none.
Class1& temperatures(Program& program);

}  // namespace qv
