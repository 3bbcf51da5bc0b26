#include "platform/win32/mci_media.h"

#include <windows.h>
// After windows.h, which it needs.
#include <mmsystem.h>

#include "platform/win32/dry_run.h"
#include "platform/win32/wide_text.h"

namespace qv::win {

MciMedia::~MciMedia() {
  finish();
}

bool MciMedia::send(const std::string& command) {
  if (dryRun()) {
    logDryRun("would send the media command \"" + command + "\"");
    return true;
  }
  auto text = wide(command);
  if (!text || text->empty()) return false;
  if (busy_) return true;
  finish();
  busy_ = true;
  worker_ = std::thread([this, text = std::move(*text)] {
    // The reply is not wanted.
    outcome_ = mciSendStringW(text.c_str(), nullptr, 0, nullptr) == 0;
    busy_ = false;
  });
  return true;
}

bool MciMedia::finish() {
  if (worker_.joinable()) worker_.join();
  return outcome_;
}

}  // namespace qv::win
