#pragma once
// The reminder popups of the timed actions and the date reminder, and the
// two message boxes of the timed actions: two small families, one row per
// member. The behaviour is in schedule/reminder_popups.cpp and
// schedule/timed_action1.cpp.

#include <string>
#include <string_view>

#include "runtime/form.h"
#include "runtime/timer.h"

namespace qv {

// A reminder: its text, the date line under it and the button that ends the
// reminding; it stays above other windows.
class PopupWindow : public Form {
 public:
  PopupWindow(Program& program, int number, std::string_view caption)
      : Form(program, "Form" + std::to_string(number),
             {.caption = std::string(caption), .width = 4800, .height = 2280, .taskbar = false}) {}

  // clang-format off
  Label Label1{*this, "Label1", {240, 240, 4320, 720}, {.font = Font{"Tahoma", 14, true}, .fore = colours::readout}};
  Label Label3{*this, "Label3", {240, 1080, 4320, 300}};
  CommandButton Command1{*this, "Command1", {3120, 1560, 1440, 420}, {.text = "关闭提醒"}};
  Timer Timer1{*this, "Timer1"};
  // clang-format on
};

struct PopupLook {
  int number;
  std::string_view caption;
};
inline constexpr PopupLook kPopupLooks[] = {
    {8, "VELT-定时-温馨提醒"},
    {16, "VELT-定时2-温馨提醒"},
    {12, "VELT-日程-温馨提醒"},
};

constexpr std::string_view popupCaption(int number) {
  for (const auto& look : kPopupLooks)
    if (look.number == number) return look.caption;
  throw "no popup of that number";
}

template <int N>
class Popup : public PopupWindow {
 public:
  static constexpr int kNumber = N;
  static constexpr std::string_view kCaption = popupCaption(N);
  explicit Popup(Program& program) : PopupWindow(program, N, kCaption) {}
};
using Form8 = Popup<8>;
using Form16 = Popup<16>;
using Form12 = Popup<12>;

// A message with a picture and "确定", which closes it.
class MessageWindow : public Form {
 public:
  MessageWindow(Program& program, int number, std::string_view message)
      : Form(program, "Form" + std::to_string(number),
             {.caption = "VELT-提示", .width = 4200, .height = 1680, .taskbar = false}),
        message_(message) {}

 private:
  std::string_view message_;  // before the controls, which take their text from it

 public:
  // clang-format off
  Image Image1{*this, "Image1", {240, 240, 720, 720}, {.picture = "information"}};
  Label Label1{*this, "Label1", {1080, 420, 2880, 480}, {.text = std::string(message_)}};
  CommandButton Command1{*this, "Command1", {2760, 1080, 1200, 390}, {.text = "确定"}};
  // clang-format on
};

struct MessageLook {
  int number;
  std::string_view message;
};
inline constexpr MessageLook kMessageLooks[] = {
    {6, "时间型数据（点）不能设空!"},
    {7, "时间型数据（分）不能设空!"},
};

constexpr std::string_view messageText(int number) {
  for (const auto& look : kMessageLooks)
    if (look.number == number) return look.message;
  throw "no message window of that number";
}

template <int N>
class Message : public MessageWindow {
 public:
  static constexpr int kNumber = N;
  static constexpr std::string_view kMessage = messageText(N);
  explicit Message(Program& program) : MessageWindow(program, N, kMessage) {}
};
using Form6 = Message<6>;
using Form7 = Message<7>;

}  // namespace qv
