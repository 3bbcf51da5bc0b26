#pragma once
// Which CPU temperature sensor the readout comes from and when it last
// answered. A sensor that stops answering leaves its last value in the
// readout, and a machine without one shows 0; this line tells such a reading
// from a live one.

#include <string>

namespace qv {

class Program;
class Thermal;

// The thermal service as the sensor object asks it, noting each answer.
Thermal& watchedThermal(Program& program);

// Whether a CPU sensor has given a reading since start. Until one has, the
// readout's 0 stands for no sensor, not for a temperature.
bool cpuSensorHasAnswered(Program& program);

// "CPU温度传感器：" followed by the sensor and the time of its last answer
// ("coretemp/Package id 0，09:05:12", with the date before the time when it
// was not today), "无" when there is none, "检测中..." before the first
// question.
std::string cpuSensorLine(Program& program);

}  // namespace qv
