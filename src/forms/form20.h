#pragma once
// A window that is never shown: it holds the CPU-load countdown, a counter
// text and a one-second ticker.

#include "runtime/form.h"
#include "runtime/timer.h"

namespace qv {

class Form20 : public Form {
 public:
  static constexpr int kNumber = 20;
  explicit Form20(Program& program) : Form(program, "Form20", {.width = 1200, .height = 600}) {}

  // The counter, in seconds.
  Label Label2{*this, "Label2"};
  Timer Timer1{*this, "Timer1"};
};

}  // namespace qv
