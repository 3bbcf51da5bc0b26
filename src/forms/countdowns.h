#pragma once
// The countdown family: windows that count a number of seconds down, once a
// second, and act when the count runs out. Each member is one row of the
// table below; what it counts from and what it does are in the feature that
// owns it (the power countdowns in schedule/countdown_windows.cpp, the
// CPU-load hint in alarms/warnings.cpp).

#include <string>
#include <string_view>

#include "runtime/form.h"
#include "runtime/timer.h"

namespace qv {

// What every countdown has, shown or not: the remaining count, kept only as
// the counter's text, and the one-second ticker.
class CounterWindow : public Form {
 public:
  using Form::Form;
  // clang-format off
  Label Label2{*this, "Label2", {1080, 840, 1320, 540}, {.font = Font{"Tahoma", 24, true}, .fore = colours::warning}};
  Timer Timer1{*this, "Timer1"};
  // clang-format on
};

// A countdown the user sees: the counter under a message, a picture and the
// cancel button; it stays above other windows.
class CountdownWindow : public CounterWindow {
 public:
  struct Look {
    int number;
    std::string_view caption;
    std::string_view message;
    std::string_view cancel;
  };
  CountdownWindow(Program& program, const Look& look)
      : CounterWindow(program, "Form" + std::to_string(look.number),
                      {.caption = std::string(look.caption),
                       .width = 4800,
                       .height = 2040,
                       .topmost = true,
                       .taskbar = false}),
        look_(look) {}

 private:
  const Look& look_;  // before the controls, which take their texts from it

 public:
  // clang-format off
  Label Label1{*this, "Label1", {1080, 300, 3600, 480}, {.text = std::string(look_.message)}};
  Image Image1{*this, "Image1", {240, 360, 720, 720}, {.picture = "warning"}};
  CommandButton Command1{*this, "Command1", {3120, 1440, 1440, 420}, {.text = std::string(look_.cancel)}};
  // clang-format on
};

inline constexpr CountdownWindow::Look kCountdownLooks[] = {
    {2, "VELT-温馨提示", "CPU温度报警，计算机即将自动关闭！", "取消关机"},
    {4, "VELT-温馨提示", "硬盘温度报警，计算机即将自动关闭！", "取消关机"},
    {9, "VELT-定时关机", "计算机即将自动关机！", "取消关机"},
    {10, "VELT-定时重启", "计算机即将自动重启！", "取消重启"},
    {11, "VELT-定时待机", "计算机即将自动待机！", "取消待机"},
    {14, "VELT-定时2关机", "计算机即将自动关机！", "取消关机"},
    {15, "VELT-定时2待机", "计算机即将自动待机！", "取消待机"},
};

constexpr const CountdownWindow::Look& countdownLook(int number) {
  for (const auto& look : kCountdownLooks)
    if (look.number == number) return look;
  throw "no countdown window of that number";
}

// The members, each known by its own name.
template <int N>
class Countdown : public CountdownWindow {
 public:
  static constexpr int kNumber = N;
  static constexpr const Look& kLook = countdownLook(N);
  explicit Countdown(Program& program) : CountdownWindow(program, kLook) {}
};
using Form2 = Countdown<2>;
using Form4 = Countdown<4>;
using Form9 = Countdown<9>;
using Form10 = Countdown<10>;
using Form11 = Countdown<11>;
using Form14 = Countdown<14>;
using Form15 = Countdown<15>;

// The CPU-load hint's countdown, never shown.
class Form20 : public CounterWindow {
 public:
  static constexpr int kNumber = 20;
  explicit Form20(Program& program)
      : CounterWindow(program, "Form20", {.width = 1200, .height = 600}) {}
};

}  // namespace qv
