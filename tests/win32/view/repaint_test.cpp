// The main window on a display: a readout tick repaints the controls whose
// text or colour changed, and never the window as a whole (whose erase and
// repaint showed as a flicker every few seconds).

#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>
#include <gtest/gtest.h>

#include "forms/form1.h"
#include "pump.h"
#include "support/sim.h"
#include "ui/win32/form_view.h"
#include "ui/win32/view_host.h"

namespace qv {
namespace {

struct Paints {
  int erases = 0;
  int paints = 0;
  int whole = 0;  // paints of the whole client area
};

LRESULT CALLBACK counting(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                          DWORD_PTR data) {
  auto* paints = reinterpret_cast<Paints*>(data);
  if (message == WM_ERASEBKGND) ++paints->erases;
  if (message == WM_PAINT) {
    ++paints->paints;
    RECT update, client;
    if (GetUpdateRect(hwnd, &update, FALSE) && GetClientRect(hwnd, &client) &&
        EqualRect(&update, &client))
      ++paints->whole;
  }
  return DefSubclassProc(hwnd, message, wParam, lParam);
}

TEST(Repaint, AReadoutTickRepaintsTheChangedControlsAndNotTheWindow) {
  test::Sim sim;
  ui::win32::ViewHost view(sim.program);
  sim.program.setHost(&view);
  sim.fake.thermal.set(3182);  // 45 °C
  sim.start();
  Form1& f = sim.program.form<Form1>();
  ui::win32::FormView* mainView = view.view(f);
  ASSERT_TRUE(mainView && mainView->window());
  UpdateWindow(mainView->window());
  test::pumpMessages();

  // A level-bar segment: unlit at 45 °C, lit at 60, unlit at 30.
  Paints window, segment;
  HWND segmentWindow = mainView->widget(f.Bar1.number(54));
  ASSERT_TRUE(segmentWindow);
  SetWindowSubclass(mainView->window(), &counting, 1, reinterpret_cast<DWORD_PTR>(&window));
  SetWindowSubclass(segmentWindow, &counting, 1, reinterpret_cast<DWORD_PTR>(&segment));
  // The count sees what a whole repaint is.
  InvalidateRect(mainView->window(), nullptr, TRUE);
  test::pumpMessages();
  ASSERT_EQ(window.erases, 1);
  ASSERT_EQ(window.whole, 1);
  window = {};

  for (std::int32_t deciKelvin : {3182, 3332, 3032}) {  // 45, 60, 30 °C
    sim.fake.thermal.set(deciKelvin);
    sim.advance(8000);
    test::pumpMessages();
  }
  RemoveWindowSubclass(mainView->window(), &counting, 1);
  RemoveWindowSubclass(segmentWindow, &counting, 1);

  EXPECT_EQ(f.Label16.text(), "30");
  EXPECT_GE(segment.paints, 2) << "the changed segment was not repainted";
  EXPECT_EQ(window.erases, 0) << "the window's background was erased";
  EXPECT_EQ(window.whole, 0) << "the window was repainted as a whole";
  sim.program.setHost(nullptr);
}

}  // namespace
}  // namespace qv
