#pragma once
// The small monitor window: an always-on-top window that repeats the four
// readings, with the date in its title; its lines also feed the tray tooltip.

#include <string>

#include "runtime/form.h"
#include "runtime/timer.h"

namespace qv {

namespace smalllook {
inline constexpr Colour line = Colour::rgb(0, 192, 0);
inline constexpr Colour background = Colour::rgb(219, 227, 230);
// A reading's line; its tooltip names the reading.
inline Design reading(const std::string& name) {
  return {.text = name, .fore = line, .tooltip = name};
}
}  // namespace smalllook

class Form3 : public Form {
 public:
  static constexpr int kNumber = 3;
  explicit Form3(Program& program)
      : Form(program, "Form3",
             {.caption = "实时监测",
              .left = 7290,
              .top = 510,
              .width = 1605,
              .height = 1035,
              .back = smalllook::background,
              .topmost = true,
              // A title bar with room for the date: a close box only.
              .toolWindow = true}) {}

  // clang-format off
  Label Label3{*this, "Label3", {0, 0, 1605, 240}, smalllook::reading("CPU使用率")};
  Label Label1{*this, "Label1", {0, 240, 1605, 240}, smalllook::reading("CPU温度")};
  Label Label2{*this, "Label2", {0, 480, 1605, 240}, smalllook::reading("内存使用率")};
  Label Label4{*this, "Label4", {0, 720, 1605, 240}, smalllook::reading("硬盘温度")};
  // The weekday in brackets, kept by the schedule tick.
  Label Label5{*this, "Label5", {2400, 0, 600, 240}};
  // Frames of the waiting animation: a green open ring turned a step further in each.
  Image Image1{*this, "Image1", {0, 0, 1545, 1290}, {.picture = "ring1"}};
  Image Image2{*this, "Image2", {0, 0, 1545, 1290}, {.visible = false, .picture = "ring2"}};
  Image Image3{*this, "Image3", {0, 0, 1545, 1290}, {.visible = false, .picture = "ring3"}};
  Image Image4{*this, "Image4", {0, 0, 1545, 1290}, {.visible = false, .picture = "ring4"}};
  Image Image5{*this, "Image5", {0, 0, 1545, 1290}, {.visible = false, .picture = "ring5"}};

  Timer Timer1{*this, "Timer1"};
  Timer Timer2{*this, "Timer2"};
  Timer Timer3{*this, "Timer3"};
  Timer Timer4{*this, "Timer4"};
  Timer Timer5{*this, "Timer5"};
  Timer Timer6{*this, "Timer6"};
  Timer Timer7{*this, "Timer7"};
  // clang-format on
};

}  // namespace qv
