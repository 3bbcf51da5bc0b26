#include "ui/win32/pictures.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <utility>
#include <vector>

#include "ui/win32/canvas.h"

namespace qv::ui::win32 {
namespace {

constexpr double kPi = 3.14159265358979323846;

// Drawing in a 32-unit square placed in a box of any size.
class Pen32 {
 public:
  Pen32(HDC dc, const RECT& box) : dc_(dc) {
    const int w = box.right - box.left, h = box.bottom - box.top;
    side_ = std::min(w, h);
    x0_ = box.left + (w - side_) / 2;
    y0_ = box.top + (h - side_) / 2;
  }
  int x(double v) const { return x0_ + static_cast<int>(std::lround(v * side_ / 32)); }
  int y(double v) const { return y0_ + static_cast<int>(std::lround(v * side_ / 32)); }
  int width(double v) const { return std::max(1, static_cast<int>(std::lround(v * side_ / 32))); }

  void stroke(COLORREF colour, double w) { select(CreatePen(PS_SOLID, width(w), colour)); }
  void fill(COLORREF colour) {
    select(CreateSolidBrush(colour));
    select(GetStockObject(NULL_PEN));
  }
  void hollow() { SelectObject(dc_, GetStockObject(NULL_BRUSH)); }
  void line(double x1, double y1, double x2, double y2) {
    MoveToEx(dc_, x(x1), y(y1), nullptr);
    LineTo(dc_, x(x2), y(y2));
  }
  void rect(double l, double t, double r, double b) { Rectangle(dc_, x(l), y(t), x(r), y(b)); }
  void round(double l, double t, double r, double b, double c) {
    RoundRect(dc_, x(l), y(t), x(r), y(b), width(c), width(c));
  }
  void ellipse(double l, double t, double r, double b) { Ellipse(dc_, x(l), y(t), x(r), y(b)); }
  // An arc of the circle in the box, from `start` degrees over `sweep`
  // degrees, counter-clockwise from three o'clock.
  void arc(double l, double t, double r, double b, double start, double sweep) {
    const double cx = (l + r) / 2, cy = (t + b) / 2;
    auto px = [&](double deg) { return x(cx + 10 * std::cos(deg * kPi / 180)); };
    auto py = [&](double deg) { return y(cy - 10 * std::sin(deg * kPi / 180)); };
    SetArcDirection(dc_, sweep < 0 ? AD_CLOCKWISE : AD_COUNTERCLOCKWISE);
    Arc(dc_, x(l), y(t), x(r), y(b), px(start), py(start), px(start + sweep), py(start + sweep));
  }
  // The caller restores the device context's own pen and brush first.
  ~Pen32() {
    for (HGDIOBJ o : made_) DeleteObject(o);
  }

 private:
  void select(HGDIOBJ object) {
    SelectObject(dc_, object);
    made_.push_back(object);
  }
  HDC dc_;
  int side_, x0_, y0_;
  std::vector<HGDIOBJ> made_;
};

const COLORREF kLine = RGB(0, 150, 170);

void drawApplication(Pen32& p) {
  p.fill(RGB(47, 198, 230));
  p.round(1, 1, 31, 31, 12);
  p.fill(RGB(255, 255, 255));
  p.round(12, 4, 20, 22, 8);
  p.ellipse(9, 17, 23, 31);
  p.fill(RGB(230, 60, 40));
  p.rect(14.5, 10, 17.5, 22);
  p.ellipse(11.5, 19.5, 20.5, 28.5);
}

void drawGlyph(Pen32& p, const std::string& name) {
  if (name == "running") {
    p.fill(RGB(0, 190, 0));
    p.ellipse(6, 6, 26, 26);
    return;
  }
  if (name == "stopped") {
    p.fill(RGB(200, 40, 40));
    p.rect(7, 7, 25, 25);
    return;
  }
  p.stroke(kLine, 2.5);
  p.hollow();
  if (name == "power" || name == "shutdown") {
    p.arc(6, 7, 26, 27, 120, 300);
    p.line(16, 4, 16, 16);
  } else if (name == "display") {
    p.rect(4, 6, 28, 22);
    p.line(16, 22, 16, 27);
    p.line(10, 27, 22, 27);
  } else if (name == "internet") {
    p.ellipse(4, 4, 28, 28);
    p.ellipse(11, 4, 21, 28);
    p.line(4, 16, 28, 16);
  } else if (name == "exit") {
    p.rect(5, 5, 19, 27);
    p.line(14, 16, 28, 16);
    p.line(23, 11, 28, 16);
    p.line(23, 21, 28, 16);
  } else if (name == "settings") {
    p.ellipse(10, 10, 22, 22);
    for (int k = 0; k < 8; ++k) {
      const double a = k * kPi / 4;
      p.line(16 + 8 * std::sin(a), 16 + 8 * std::cos(a), 16 + 12 * std::sin(a),
             16 + 12 * std::cos(a));
    }
  } else {
    p.rect(6, 6, 26, 26);
  }
}

// A frame of the waiting animation: a green open ring on light grey, turned
// a fifth of a turn further in each frame.
void drawRing(HDC dc, const RECT& box, int frame) {
  HBRUSH back = CreateSolidBrush(RGB(219, 230, 232));
  FillRect(dc, &box, back);
  DeleteObject(back);
  const int saved = SaveDC(dc);
  {
    Pen32 p(dc, box);
    p.stroke(RGB(112, 227, 0), 3.2);
    p.hollow();
    const double start = 90 - (frame - 1) * 72;
    p.arc(6.4, 6.4, 25.6, 25.6, start, -270);
    RestoreDC(dc, saved);
  }
}

}  // namespace

void drawPicture(HDC dc, const RECT& box, const std::string& name) {
  if (name == "information" || name == "warning") {
    HICON icon = LoadIconW(nullptr, name == "warning" ? IDI_WARNING : IDI_INFORMATION);
    const int side = std::min(box.right - box.left, box.bottom - box.top);
    DrawIconEx(dc, box.left + (box.right - box.left - side) / 2,
               box.top + (box.bottom - box.top - side) / 2, icon, side, side, 0, nullptr,
               DI_NORMAL);
    return;
  }
  if (name.rfind("ring", 0) == 0) {
    drawRing(dc, box, std::atoi(name.c_str() + 4));
    return;
  }
  const int saved = SaveDC(dc);
  Pen32 p(dc, box);
  if (name == "app")
    drawApplication(p);
  else
    drawGlyph(p, name);
  RestoreDC(dc, saved);
}

HICON pictureIcon(const std::string& name, int size) {
  static std::map<std::pair<std::string, int>, HICON> icons;
  auto key = std::make_pair(name, size);
  auto it = icons.find(key);
  if (it != icons.end()) return it->second;
  // Magenta is in none of the pictures.
  const COLORREF clear = RGB(255, 0, 255);
  Canvas canvas(size);
  RECT all{0, 0, size, size};
  HBRUSH back = CreateSolidBrush(clear);
  FillRect(canvas.dc(), &all, back);
  DeleteObject(back);
  drawPicture(canvas.dc(), all, name);
  return icons.emplace(key, canvas.icon(clear)).first->second;
}

}  // namespace qv::ui::win32
