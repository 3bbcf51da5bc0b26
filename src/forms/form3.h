#pragma once
// The small monitor window: an always-on-top window that repeats the four
// readings, with the date in its title; its lines also feed the tray tooltip.

#include "runtime/form.h"
#include "runtime/timer.h"

namespace qv {

namespace smalllook {
inline constexpr Colour line = Colour::rgb(0, 192, 0);
inline constexpr Colour background = Colour::rgb(219, 227, 230);
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
              .topmost = true}) {}

  // clang-format off
  Label Label3{*this, "Label3", {.left = 0, .top = 0, .width = 1605, .height = 240, .text = "CPU使用率", .font = {"Tahoma", 9}, .fore = smalllook::line, .tooltip = "CPU使用率"}};
  Label Label1{*this, "Label1", {.left = 0, .top = 240, .width = 1605, .height = 240, .text = "CPU温度", .font = {"Tahoma", 9}, .fore = smalllook::line, .tooltip = "CPU温度"}};
  Label Label2{*this, "Label2", {.left = 0, .top = 480, .width = 1605, .height = 240, .text = "内存使用率", .font = {"Tahoma", 9}, .fore = smalllook::line, .tooltip = "内存使用率"}};
  Label Label4{*this, "Label4", {.left = 0, .top = 720, .width = 1605, .height = 240, .text = "硬盘温度", .font = {"Tahoma", 9}, .fore = smalllook::line, .tooltip = "硬盘温度"}};
  // The weekday in brackets, kept by the schedule tick.
  Label Label5{*this, "Label5", {.left = 2400, .top = 0, .width = 600, .height = 240}};
  // Frames of the waiting animation: a green open ring turned a step further in each.
  Image Image1{*this, "Image1", {.left = 0, .top = 0, .width = 1545, .height = 1290, .picture = "ring1"}};
  Image Image2{*this, "Image2", {.left = 0, .top = 0, .width = 1545, .height = 1290, .visible = false, .picture = "ring2"}};
  Image Image3{*this, "Image3", {.left = 0, .top = 0, .width = 1545, .height = 1290, .visible = false, .picture = "ring3"}};
  Image Image4{*this, "Image4", {.left = 0, .top = 0, .width = 1545, .height = 1290, .visible = false, .picture = "ring4"}};
  Image Image5{*this, "Image5", {.left = 0, .top = 0, .width = 1545, .height = 1290, .visible = false, .picture = "ring5"}};

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
