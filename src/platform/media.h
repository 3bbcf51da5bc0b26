#pragma once
#include <string>

namespace qv {

class Media {
 public:
  virtual ~Media() = default;
  // Sends a media-control command ("set CDAudio door open" opens the optical
  // drive). False when it is unknown or there is no such device.
  virtual bool send(const std::string& command) = 0;
};

}  // namespace qv
