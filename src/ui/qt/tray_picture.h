#pragma once
// The readout picture of the tray: a reading printed on a coloured square.

#include <QFont>
#include <QIcon>
#include <QList>
#include <QPixmap>
#include <QPoint>

#include "platform/tray.h"

namespace qv::ui {

// The sizes trays show icons at, each also at the scale of every screen, up
// to the 64 px that trays on D-Bus are sent at most.
QList<int> trayIconSizes();

// The font of the picture's text at a size and where its line starts: the
// design's size and place scaled to the square, in a narrow face where the
// design's is missing, smaller where the text would not fit.
struct TrayPictureText {
  QFont font;
  QPoint origin;  // the top left of the line
};
TrayPictureText trayPictureText(const TrayPicture& picture, int sizePx);

// The picture at sizePx x sizePx.
QPixmap paintTrayPicture(const TrayPicture& picture, int sizePx = 16);
// The picture at any size a tray asks for, each painted for its size rather
// than scaled from another, when it is first asked for.
QIcon trayPictureIcon(const TrayPicture& picture);

}  // namespace qv::ui
