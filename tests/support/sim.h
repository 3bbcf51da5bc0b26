#pragma once
// The whole program on the fake platform in virtual time.

#include <gtest/gtest.h>

#include "runtime/program.h"
#include "support/fake_platform.h"

namespace qv::test {

class Sim {
 public:
  // Installs every feature; call start() to run the start-up.
  Sim();
  ~Sim();

  void start();
  // Lets `ms` of virtual time pass, firing every timer on time.
  void advance(std::int64_t ms) { qv::advance(program, fake.clock, ms); }
  std::int64_t now() { return fake.clock.monotonicMs(); }
  // A user action or code entry point, run as an event handler.
  void run(const std::function<void()>& action) { program.dispatch(action); }
  void click(Control& control) {
    program.dispatch([&] { control.click(); });
  }

  FakePlatform fake;
  Program program{fake.platform};
};

}  // namespace qv::test
