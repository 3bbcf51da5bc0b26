#pragma once
#include <atomic>
#include <string>
#include <thread>

#include "platform/media.h"

namespace qv::lnx {

// The one media command the program sends, "set CDAudio door open": ejects the
// first optical drive udisks2 knows of, else the CD-ROM device `device`
// directly. Any other command is refused. With QUORVANE_DRY_RUN=1 it only
// says what it would do.
//
// The eject runs on a thread of its own (udisks may take seconds to answer,
// a drive longer to open), one at a time: a request while one is under way
// is that one. What goes wrong is said on standard error.
class LinuxMedia : public Media {
 public:
  explicit LinuxMedia(std::string device = "/dev/sr0");
  ~LinuxMedia() override;
  LinuxMedia(const LinuxMedia&) = delete;
  LinuxMedia& operator=(const LinuxMedia&) = delete;

  // True when the command is known and the eject is under way.
  bool send(const std::string& command) override;
  // Waits for an eject under way; true when it ejected a drive (or there was
  // none to wait for).
  bool finish();
  // The eject itself, on the caller's thread: true when a drive opened.
  bool eject();

 private:
  std::string device_;
  bool dryRun_;
  std::thread worker_;
  std::atomic<bool> busy_ = false;
  bool outcome_ = true;  // of the last eject; read after the worker is joined
};

}  // namespace qv::lnx
