#pragma once
#include <string>

namespace qv {

class Media {
 public:
  virtual ~Media() = default;
  // Sends a media-control command ("set CDAudio door open" opens the optical
  // drive) and returns at once: a drive may take seconds to open, and the
  // caller's window must not wait for it. False when the command is unknown
  // or there is nothing to send it to.
  virtual bool send(const std::string& command) = 0;
};

}  // namespace qv
