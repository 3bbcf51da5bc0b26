// The Win32 view's tests, on a display of their own (Xvfb) under Wine: real
// windows, painted and messaged as on the desktop. The program's services
// are the fake platform's; dry run is on all the same.

#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv) {
  _putenv_s("QUORVANE_DRY_RUN", "1");
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
