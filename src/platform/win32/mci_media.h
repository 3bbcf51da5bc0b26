#pragma once
#include "platform/media.h"

namespace qv::win {

// Media-control command strings (mciSendString), such as the one that opens
// the optical drive's door. With QUORVANE_DRY_RUN=1 they are only logged.
class MciMedia : public Media {
 public:
  bool send(const std::string& command) override;
};

}  // namespace qv::win
