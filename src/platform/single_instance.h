#pragma once
// One copy of the program per user session. The first start holds the
// session's claim for the program; a later start (the menu entry clicked
// again, autostart beside a manual start) hands over to that copy, which
// shows its main window, and ends without writing anything.

#include <functional>
#include <memory>

namespace qv {

class SingleInstance {
 public:
  virtual ~SingleInstance() = default;

  // Requests from outside, run on the user-interface thread: a later start
  // wants the main window shown; the installer wants the program ended
  // (Windows only). Unset, a request is ignored.
  std::function<void()> onShow;
  std::function<void()> onEnd;
};

// This session's claim, made once before anything else starts; null when a
// copy already runs, which has then been asked to show its main window.
// Where the system offers no way to tell, every start gets a claim.
std::unique_ptr<SingleInstance> claimSingleInstance();

}  // namespace qv
