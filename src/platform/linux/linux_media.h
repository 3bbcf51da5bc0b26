#pragma once
#include <string>

#include "platform/media.h"

namespace qv::lnx {

// The one media command the program sends, "set CDAudio door open": ejects the
// first optical drive udisks2 knows of, else the CD-ROM device `device`
// directly. Any other command is refused. With QUORVANE_DRY_RUN=1 it only
// says what it would do.
class LinuxMedia : public Media {
 public:
  explicit LinuxMedia(std::string device = "/dev/sr0");
  bool send(const std::string& command) override;

 private:
  std::string device_;
  bool dryRun_;
};

}  // namespace qv::lnx
