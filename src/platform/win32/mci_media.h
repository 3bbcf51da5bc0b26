#pragma once
#include <atomic>
#include <string>
#include <thread>

#include "platform/media.h"

namespace qv::win {

// Media-control command strings (mciSendString), such as the one that opens
// the optical drive's door. With QUORVANE_DRY_RUN=1 they are only logged.
//
// The command runs on a thread of its own (opening a drive's door takes
// seconds), one at a time: a request while one is under way is that one.
class MciMedia : public Media {
 public:
  MciMedia() = default;
  ~MciMedia() override;
  MciMedia(const MciMedia&) = delete;
  MciMedia& operator=(const MciMedia&) = delete;

  // True when the command is sent (or one is under way).
  bool send(const std::string& command) override;
  // Waits for a command under way; true when the last one succeeded (or
  // there was none to wait for).
  bool finish();

 private:
  std::thread worker_;
  std::atomic<bool> busy_ = false;
  bool outcome_ = true;  // of the last command; read after the worker is joined
};

}  // namespace qv::win
