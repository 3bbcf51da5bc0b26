#pragma once
// The program's named pictures (picture buttons, running marks, the waiting
// animation, the title bar and tray icon), drawn with GDI: the program ships
// no image files.

#include <windows.h>

#include <string>

namespace qv::ui::win32 {

// Draws the picture into `box`, centred and as large as fits.
void drawPicture(HDC dc, const RECT& box, const std::string& name);
// A named picture as an icon of `size` pixels, made once per name and size.
HICON pictureIcon(const std::string& name, int size);

}  // namespace qv::ui::win32
