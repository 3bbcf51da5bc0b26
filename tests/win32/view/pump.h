#pragma once
// Runs this thread's messages until none is left, paints included (the
// system sends those only once the queue is otherwise empty).

#include <windows.h>

namespace qv::test {

inline void pumpMessages() {
  for (int round = 0; round < 5; ++round) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    Sleep(20);
  }
}

}  // namespace qv::test
