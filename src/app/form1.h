#pragma once
// The main window.

#include "runtime/form.h"
#include "runtime/timer.h"

namespace qv {

class Form1 : public Form {
 public:
  static constexpr int kNumber = 1;
  explicit Form1(Program& program)
      : Form(program, "Form1",
             {.caption = "Quorvane", .width = 11670, .height = 8505, .icon = "app"}) {}
};

}  // namespace qv
