#include "platform/win32/mci_media.h"

#include <windows.h>
// After windows.h, which it needs.
#include <mmsystem.h>

#include "platform/win32/dry_run.h"
#include "platform/win32/wide_text.h"

namespace qv::win {

bool MciMedia::send(const std::string& command) {
  if (dryRun()) {
    logDryRun("would send the media command \"" + command + "\"");
    return true;
  }
  auto text = wide(command);
  if (!text || text->empty()) return false;
  // The reply is not wanted.
  return mciSendStringW(text->c_str(), nullptr, 0, nullptr) == 0;
}

}  // namespace qv::win
