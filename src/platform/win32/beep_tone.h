#pragma once
#include "platform/tone.h"

namespace qv::win {

// The system's Beep, which plays on the sound card and returns when done.
class BeepTone : public Tone {
 public:
  void beep(int frequencyHz, int lengthMs) override;
};

}  // namespace qv::win
