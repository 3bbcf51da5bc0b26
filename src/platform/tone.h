#pragma once

namespace qv {

class Tone {
 public:
  virtual ~Tone() = default;
  // Plays a sine tone and returns when it has ended. Frequency or length 0
  // plays nothing. Without a sound device nothing is played and it returns
  // at once.
  virtual void beep(int frequencyHz, int lengthMs) = 0;
};

}  // namespace qv
