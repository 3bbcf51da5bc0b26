// The Windows services' tests. Everything that could act on the machine runs
// in dry run: it is switched on here, before any test, and the tests that
// reach a power call check it first.

#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv) {
  _putenv_s("QUORVANE_DRY_RUN", "1");
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
