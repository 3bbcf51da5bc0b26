#include "display/picture_layout.h"

#include <algorithm>
#include <cmath>

namespace qv {

int pictureMargin(int side) {
  return std::max(1, side / 16);
}

PictureText layOutPictureText(const TrayPicture& picture, int side,
                              const std::function<InkBox(int pixelSize)>& ink) {
  const double scale = side / 16.0;
  const int margin = pictureMargin(side);
  const int room = side - 2 * margin;
  // Points as they come out at 96 dpi: the design is in pixels of the square.
  const int designed =
      std::max(1, static_cast<int>(std::lround(picture.fontSize * 96.0 / 72.0 * scale)));
  PictureText out{designed, static_cast<int>(std::lround(picture.x * scale)),
                  static_cast<int>(std::lround(picture.y * scale))};
  InkBox box = ink(designed);
  if (box.empty()) return out;
  // Smaller until it fits; one pixel size a step, as hinted glyphs change
  // shape with each.
  while (out.pixelSize > 1 && (box.width() > room || box.height() > room)) {
    --out.pixelSize;
    box = ink(out.pixelSize);
    if (box.empty()) return out;
  }
  // From the design's left edge, moved in as far as the margins need.
  out.x = std::clamp(out.x + box.left, margin, std::max(margin, side - margin - box.width())) -
          box.left;
  // Centred from top to bottom: where a line's ink starts below its top
  // depends on the face (a CJK face stands in for Tahoma with a deep line).
  out.y = margin + std::max(0, room - box.height()) / 2 - box.top;
  return out;
}

}  // namespace qv
