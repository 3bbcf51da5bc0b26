#pragma once
// Timed action 2's own settings: the action, the reminder text, the delay,
// the day of the month, every day, and the no-prompt option. While it exists
// (mostly hidden) it holds their live values.

#include <string>
#include <utility>

#include "runtime/form.h"

namespace qv {

class Form13 : public Form {
 public:
  static constexpr int kNumber = 13;
  explicit Form13(Program& program)
      : Form(program, "Form13",
             {.caption = "VELT-定时2-设置", .width = 5400, .height = 3240, .icon = "settings"}) {}

  // One control per line, as in a form file.
  // clang-format off
  Frame Frame1{*this, "Frame1", {120, 120, 5160, 660}, {.text = "定时2动作"}};
  OptionButton Option1{*this, "Option1", {240, 300, 1200, 255}, {.text = "关机", .parent = &Frame1}};
  OptionButton Option2{*this, "Option2", {1560, 300, 1200, 255}, {.text = "待机", .parent = &Frame1}};
  OptionButton Option3{*this, "Option3", {2880, 300, 1200, 255}, {.text = "提醒", .parent = &Frame1, .value = 1}};
  Label Label1{*this, "Label1", {120, 930, 1200, 255}, {.text = "提醒内容"}};
  ComboBox Combo1{*this, "Combo1", {1320, 900, 3960, 315}};
  Label Label2{*this, "Label2", {120, 1410, 3000, 255}, {.text = "定时2关机/待机延时执行时间"}};
  ComboBox Combo2{*this, "Combo2", {3120, 1380, 1080, 315}};
  Label Label3{*this, "Label3", {4320, 1410, 360, 255}, {.text = "S"}};
  Label Label4{*this, "Label4", {120, 1890, 3000, 255}, {.text = "每月几号定时"}};
  ComboBox Combo3{*this, "Combo3", {3120, 1860, 1080, 315}};
  CheckBox Check1{*this, "Check1", {120, 2280, 2400, 255}, {.text = "定时2每天启动"}};
  CheckBox Check2{*this, "Check2", {120, 2580, 3600, 255}, {.text = "定时2关机/待机执行时不提示用户"}};
  CommandButton Command1{*this, "Command1", {3960, 2280, 1320, 390}, {.text = "确定"}};
  CommandButton Command2{*this, "Command2", {3960, 2730, 1320, 390}, {.text = "取消"}};
  // clang-format on
};

}  // namespace qv
