#include "display/tray_picture.h"

#include "platform/tray.h"
#include "runtime/program.h"

namespace qv {

void installTrayPicture(Program&) {}

void removeReadoutIcon(Program& program) {
  TrayIconData data;
  data.id = 0;
  program.platform().tray.notify(TrayAction::Delete, data);
}

}  // namespace qv
