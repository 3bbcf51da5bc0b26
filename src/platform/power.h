#pragma once

namespace qv {

class Power {
 public:
  virtual ~Power() = default;
  // Each returns false when the request is refused or there is no power
  // service; nothing happens then.
  virtual bool powerOff() = 0;
  virtual bool restart() = 0;
  // Restarts without asking applications to close.
  virtual bool restartNow() = 0;
  // Puts the machine to sleep and returns after it has resumed.
  virtual bool suspend() = 0;
};

}  // namespace qv
