#pragma once
// Where the readout picture's text goes in a square of the size a tray shows
// it at. The picture is designed for 16 x 16 pixels in a face that may be
// missing (Tahoma), and its readings run from "0" to "100" and the weekday:
// at every size the text keeps a margin of background on every side, in the
// design's font size where it fits, else in the largest size that fits.
// The view measures the text in its own fonts and paints it there.

#include <functional>

#include "platform/tray.h"

namespace qv {

// The pixels a text covers, relative to the top left of its line; right and
// bottom are exclusive. Empty (right <= left) when it covers none.
struct InkBox {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  int width() const { return right - left; }
  int height() const { return bottom - top; }
  bool empty() const { return right <= left || bottom <= top; }
};

struct PictureText {
  int pixelSize = 0;  // of the font
  int x = 0;          // the top left of the text's line
  int y = 0;
};

// The background left on each side of the text in a square of `side` pixels.
int pictureMargin(int side);

// The text's font size and place in the square. `ink` tells what the text
// covers in the view's font at a pixel size.
PictureText layOutPictureText(const TrayPicture& picture, int side,
                              const std::function<InkBox(int pixelSize)>& ink);

}  // namespace qv
