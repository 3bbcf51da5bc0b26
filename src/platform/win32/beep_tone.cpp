#include "platform/win32/beep_tone.h"

#include <windows.h>

namespace qv::win {

void BeepTone::beep(int frequencyHz, int lengthMs) {
  // Beep plays 37 to 32767 Hz; anything else it refuses at once.
  if (frequencyHz < 37 || frequencyHz > 32767 || lengthMs <= 0) return;
  Beep(static_cast<DWORD>(frequencyHz), static_cast<DWORD>(lengthMs));
}

}  // namespace qv::win
