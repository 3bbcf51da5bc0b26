#pragma once
#include "platform/tone.h"

namespace qv::lnx {

// Sine tones on ALSA's "default" device. The device is opened for each tone and
// closed once it has drained: alarms are rare, and holding a card open would
// keep it from other programs.
class AlsaTone : public Tone {
 public:
  void beep(int frequencyHz, int lengthMs) override;
};

}  // namespace qv::lnx
