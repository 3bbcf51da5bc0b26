#pragma once
// How model properties look in Qt: fonts, colours, twips and pictures.

#include <QColor>
#include <QFont>
#include <QIcon>
#include <QPixmap>
#include <string>

#include "base/colour.h"
#include "runtime/control.h"

namespace qv::ui {

// 15 twips are one logical pixel.
inline int px(int twips) {
  return (twips + 7) / 15;
}

QColor toQColor(Colour c);
// The font a design asks for: the named family where it is installed, else
// the desktop's sans-serif (fontconfig adds a CJK fallback for Chinese).
QFont toQFont(const Font& font);
// A named picture of the program, from the desktop theme where it has one,
// else drawn here.
QIcon picture(const std::string& name);
// The application's own icon.
QIcon applicationIcon();

}  // namespace qv::ui
