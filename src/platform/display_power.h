#pragma once

namespace qv {

class DisplayPower {
 public:
  virtual ~DisplayPower() = default;
  // Switches the display off; false when the desktop cannot do it.
  virtual bool displayOff() = 0;
};

}  // namespace qv
