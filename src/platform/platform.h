#pragma once
// Every operating-system service the program uses, bundled for the program
// object. Call sites never test which system they run on.

#include "platform/autostart.h"
#include "platform/clock.h"
#include "platform/cpu.h"
#include "platform/disks.h"
#include "platform/display_power.h"
#include "platform/media.h"
#include "platform/memory.h"
#include "platform/power.h"
#include "platform/process.h"
#include "platform/settings_backend.h"
#include "platform/thermal.h"
#include "platform/tone.h"
#include "platform/tray.h"

namespace qv {

struct Platform {
  Clock& clock;
  Thermal& thermal;
  Disks& disks;
  CpuTimes& cpu;
  Memory& memory;
  Tray& tray;
  Tone& tone;
  Process& process;
  Power& power;
  Autostart& autostart;
  DisplayPower& display;
  Media& media;
  SettingsBackend& settings;
};

}  // namespace qv
