#pragma once
// The readout picture of the tray: a reading printed on a coloured square.

#include <QIcon>
#include <QPixmap>

#include "platform/tray.h"

namespace qv::ui {

// The picture at sizePx x sizePx. The layout is given for a 16 px square and
// scaled by sizePx / 16; text that does not fit is clipped at the edge.
QPixmap paintTrayPicture(const TrayPicture& picture, int sizePx = 16);
// The picture at any size a tray asks for, each painted for its size rather
// than scaled from another, when it is first asked for.
QIcon trayPictureIcon(const TrayPicture& picture);

}  // namespace qv::ui
