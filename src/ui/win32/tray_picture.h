#pragma once
// The readout picture of the tray: a reading printed on a coloured square,
// painted with GDI at the size the tray shows icons at.

#include <windows.h>

#include "display/picture_layout.h"
#include "platform/tray.h"

namespace qv::ui::win32 {

// The font of the picture's text at a pixel size, in the design's face where
// it is installed, else in a narrow one that has the text's characters. The
// caller deletes it.
HFONT trayPictureFont(const TrayPicture& picture, int pixelSize, int sizePx);
// Its size and the top left of its line in a square of sizePx: the design's,
// scaled to the square, smaller where the text would not fit.
PictureText trayPictureText(const TrayPicture& picture, int sizePx);

// The picture at sizePx x sizePx. The caller destroys the icon.
HICON paintTrayPicture(const TrayPicture& picture, int sizePx);

}  // namespace qv::ui::win32
