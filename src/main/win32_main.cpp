// Quorvane for Windows: a tray-resident monitor of CPU and disk temperature,
// CPU load and memory load, with timed power actions and reminders. Takes no
// arguments.

#include <objbase.h>
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include "app/other_starts.h"
#include "main/features.h"
#include "platform/host.h"
#include "platform/single_instance.h"
#include "runtime/program.h"
#include "ui/win32/dpi.h"
#include "ui/win32/view_host.h"
#include "ui/win32/win32_tray.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  // Before the first window: sizes are the monitor's own pixels.
  qv::ui::win32::becomeDpiAware();
  // One copy per session: a later start shows the running copy's window.
  std::unique_ptr<qv::SingleInstance> instance = qv::claimSingleInstance();
  if (!instance) return 0;
  // The sensors ask the management service, a COM server, on this thread.
  const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);

  int status = 0;
  {
    qv::ui::win32::Win32Tray tray;
    std::unique_ptr<qv::HostServices> host = qv::makeHostServices(tray);
    qv::Program program(host->platform());
    qv::ui::win32::ViewHost view(program);
    program.setHost(&view);
    qv::installFeatures(program);
    qv::answerOtherStarts(program, *instance);
    program.dispatch([&] { qv::startProgram(program); });
    if (!program.ended()) status = view.run();
    program.setHost(nullptr);
    // No request may reach the program once it is gone.
    instance.reset();
  }
  if (SUCCEEDED(com)) CoUninitialize();
  return status;
}
