// One copy per session: a second claim in the session hands over to the
// first, which hears it through its window; the installer's WM_CLOSE to that
// window asks the program to end.

#include "platform/single_instance.h"

#include <gtest/gtest.h>

#include "platform/win32/single_instance.h"
#include "pump.h"

namespace qv {
namespace {

TEST(SingleInstance, ALaterStartHandsOverAndTheInstallerAsksTheCopyToEnd) {
  std::unique_ptr<SingleInstance> running = claimSingleInstance();
  ASSERT_TRUE(running);
  int shown = 0, ended = 0;
  running->onShow = [&] { ++shown; };
  running->onEnd = [&] { ++ended; };

  EXPECT_EQ(claimSingleInstance(), nullptr) << "a second start would run";
  test::pumpMessages();
  EXPECT_EQ(shown, 1);

  HWND window = FindWindowW(win::kInstanceClass, nullptr);
  ASSERT_TRUE(window);
  SendMessageW(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(ended, 1);
  EXPECT_EQ(shown, 1);
  // Still reachable until the program has ended.
  EXPECT_TRUE(IsWindow(window));

  running.reset();
  EXPECT_FALSE(FindWindowW(win::kInstanceClass, nullptr));
  EXPECT_TRUE(claimSingleInstance()) << "the session's claim outlived its copy";
}

}  // namespace
}  // namespace qv
