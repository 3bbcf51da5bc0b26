#pragma once
// A square 32-bit picture to paint with GDI and hand to the system as an
// icon. GDI leaves the alpha channel alone, so the icon's transparency is
// made afterwards: a key colour that nothing else uses becomes clear.

#include <windows.h>

#include <optional>

namespace qv::ui::win32 {

class Canvas {
 public:
  explicit Canvas(int size);
  ~Canvas();
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  HDC dc() const { return dc_; }
  int size() const { return size_; }
  // Every pixel opaque, or those of `clear` transparent. The caller destroys
  // the icon.
  HICON icon(std::optional<COLORREF> clear = std::nullopt);

 private:
  int size_;
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ old_ = nullptr;
  unsigned* pixels_ = nullptr;
};

}  // namespace qv::ui::win32
