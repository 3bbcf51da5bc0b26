#pragma once
// The reminder slots' popup: the message of the slot that came due, above
// every other window until the user closes it. The behaviour is in
// schedule/reminder_slots.cpp.

#include "runtime/form.h"

namespace qv {

class Form18 : public Form {
 public:
  static constexpr int kNumber = 18;
  explicit Form18(Program& program)
      : Form(program, "Form18",
             {.caption = "VELT-提醒",
              .width = 5880,
              .height = 1200,
              .topmost = true,
              .taskbar = false}) {}

  // clang-format off
  // Room for the longest message (28 characters) on two lines.
  Label Label1{*this, "Label1", {240, 240, 5400, 720}, {.font = Font{"Tahoma", 12, true}, .fore = colours::readout}};
  // clang-format on
};

}  // namespace qv
