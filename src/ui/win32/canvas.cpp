#include "ui/win32/canvas.h"

#include <algorithm>

namespace qv::ui::win32 {

Canvas::Canvas(int size) : size_(std::max(1, size)) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = size_;
  info.bmiHeader.biHeight = -size_;  // top row first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  dc_ = CreateCompatibleDC(nullptr);
  void* bits = nullptr;
  bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  pixels_ = static_cast<unsigned*>(bits);
  if (bitmap_) old_ = SelectObject(dc_, bitmap_);
}

Canvas::~Canvas() {
  if (old_) SelectObject(dc_, old_);
  if (bitmap_) DeleteObject(bitmap_);
  if (dc_) DeleteDC(dc_);
}

HICON Canvas::icon(std::optional<COLORREF> clear) {
  if (!pixels_) return nullptr;
  GdiFlush();
  // DIB pixels are 0xAARRGGBB; a COLORREF is 0x00BBGGRR.
  const unsigned key =
      clear ? (GetRValue(*clear) << 16 | GetGValue(*clear) << 8 | GetBValue(*clear)) : 0;
  for (int i = 0; i < size_ * size_; ++i) {
    unsigned rgb = pixels_[i] & 0xFFFFFFu;
    pixels_[i] = clear && rgb == key ? 0 : (rgb | 0xFF000000u);
  }
  // The mask is ignored where the colour bitmap has alpha, but must exist.
  HBITMAP mask = CreateBitmap(size_, size_, 1, 1, nullptr);
  ICONINFO ii{};
  ii.fIcon = TRUE;
  ii.hbmMask = mask;
  ii.hbmColor = bitmap_;
  SelectObject(dc_, old_);
  HICON made = CreateIconIndirect(&ii);
  old_ = SelectObject(dc_, bitmap_);
  DeleteObject(mask);
  return made;
}

}  // namespace qv::ui::win32
