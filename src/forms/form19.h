#pragma once
// The power-off dialog: six ways to leave the machine, one of them chosen,
// and the buttons that carry the choice out or drop it. The behaviour is in
// schedule/power_off_dialog.cpp.

#include <string>

#include "runtime/form.h"

namespace qv {

class Form19 : public Form {
 public:
  static constexpr int kNumber = 19;
  explicit Form19(Program& program)
      : Form(program, "Form19",
             {.caption = "VELT-关闭计算机", .width = 4200, .height = 2400, .icon = "shutdown"}) {}

  // A button with a picture beside its caption, and its hint.
  static Design pictureButton(std::string caption, std::string hint, std::string picture) {
    return {.text = std::move(caption), .tooltip = std::move(hint), .picture = std::move(picture)};
  }

  // clang-format off
  OptionButton Option1{*this, "Option1", {480, 240, 1560, 300}, {.text = "关机"}};
  OptionButton Option2{*this, "Option2", {480, 600, 1560, 300}, {.text = "重启"}};
  OptionButton Option3{*this, "Option3", {480, 960, 1560, 300}, {.text = "快速重启"}};
  OptionButton Option4{*this, "Option4", {2280, 240, 1560, 300}, {.text = "待机"}};
  OptionButton Option5{*this, "Option5", {2280, 600, 1560, 300}, {.text = "关闭显示器"}};
  // Selected whenever the dialog is created: a choice is never remembered.
  OptionButton Option6{*this, "Option6", {2280, 960, 1560, 300}, {.text = "无动作", .value = 1}};
  CommandButton Command1{*this, "Command1", {600, 1500, 1320, 540},
                         pictureButton("确定", "您确定要关闭计算机吗?", "confirm")};
  CommandButton Command2{*this, "Command2", {2280, 1500, 1320, 540}, pictureButton("取消", "取消", "cancel")};
  // clang-format on
};

}  // namespace qv
