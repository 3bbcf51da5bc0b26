#include "platform/linux/x11_dpms.h"

#include <xcb/dpms.h>
#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>

namespace qv::lnx {
namespace {

struct Disconnect {
  void operator()(xcb_connection_t* c) const { xcb_disconnect(c); }
};
struct Free {
  void operator()(void* p) const { std::free(p); }
};
template <typename T>
using Reply = std::unique_ptr<T, Free>;

// True when the server accepted the request.
bool accepted(xcb_connection_t* c, xcb_void_cookie_t cookie) {
  Reply<xcb_generic_error_t> error(xcb_request_check(c, cookie));
  return !error;
}

}  // namespace

bool forceX11DisplayOff(const std::string& display, std::string& why) {
  std::unique_ptr<xcb_connection_t, Disconnect> connection(xcb_connect(display.c_str(), nullptr));
  xcb_connection_t* c = connection.get();
  if (xcb_connection_has_error(c)) {
    why = "cannot open X display " + display;
    return false;
  }
  const xcb_query_extension_reply_t* extension = xcb_get_extension_data(c, &xcb_dpms_id);
  if (!extension || !extension->present) {
    why = "the X display has no DPMS";
    return false;
  }
  Reply<xcb_dpms_capable_reply_t> capable(xcb_dpms_capable_reply(c, xcb_dpms_capable(c), nullptr));
  if (!capable || !capable->capable) {
    why = "the monitor has no power saving";
    return false;
  }
  Reply<xcb_dpms_info_reply_t> info(xcb_dpms_info_reply(c, xcb_dpms_info(c), nullptr));
  if (!info) {
    why = "the X display does not answer";
    return false;
  }
  // The server refuses a forced level while DPMS is off.
  if (!info->state && (!accepted(c, xcb_dpms_set_timeouts_checked(c, 0, 0, 0)) ||
                       !accepted(c, xcb_dpms_enable_checked(c)))) {
    why = "DPMS cannot be enabled";
    return false;
  }
  if (!accepted(c, xcb_dpms_force_level_checked(c, XCB_DPMS_DPMS_MODE_OFF))) {
    why = "the X server refused to switch the monitor off";
    return false;
  }
  return true;
}

}  // namespace qv::lnx
