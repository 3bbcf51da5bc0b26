#pragma once
// The readout picture of the tray: a reading printed on a coloured square,
// painted with GDI at the size the tray shows icons at.

#include <windows.h>

#include "platform/tray.h"

namespace qv::ui::win32 {

// The layout is given for a 16 px square and scaled by sizePx / 16; text that
// does not fit is clipped at the edge. The caller destroys the icon.
HICON paintTrayPicture(const TrayPicture& picture, int sizePx);

}  // namespace qv::ui::win32
