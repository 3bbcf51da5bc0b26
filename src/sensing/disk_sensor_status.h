#pragma once
// Whether a disk temperature sensor has answered since start: a machine
// without one reads 0, which is no temperature.

namespace qv {

class Disks;
class Program;

// The disks service as the sensor object asks it, noting each answer.
Disks& watchedDisks(Program& program);

// Whether a disk has given a temperature since start.
bool diskSensorHasAnswered(Program& program);

}  // namespace qv
