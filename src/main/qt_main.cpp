// Quorvane: a tray-resident monitor of CPU and disk temperature, CPU load and
// memory load, with timed power actions and reminders. Takes no arguments
// but the few options of main/command_line.h.

#include <QApplication>

#include "app/other_starts.h"
#include "main/command_line.h"
#include "main/features.h"
#include "platform/host.h"
#include "platform/single_instance.h"
#include "runtime/program.h"
#include "ui/qt/qt_tray.h"
#include "ui/qt/view_host.h"

int main(int argc, char** argv) {
  if (const auto status = qv::commandLine(argc, argv)) return *status;
  // Qt gets none of the command line.
  int qtArgc = 1;
  // On X11, Qt hands each repaint to the server through shared memory and
  // then waits for the server to be done with it: a round trip, and a wake-up
  // of Qt's reader thread, for every few-pixel change of a readout. For small
  // windows repainted every few seconds a plain image upload costs a third as
  // much. Whoever sets the variable keeps their choice.
  if (!qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM")) qputenv("QT_XCB_NO_MITSHM", "1");
  // Qt's own event loop rather than GLib's: the program has no GLib or GTK
  // parts of its own, and at rest, where it only wakes for its timers, Qt's
  // loop costs less per wake-up.
  if (!qEnvironmentVariableIsSet("QT_NO_GLIB")) qputenv("QT_NO_GLIB", "1");
  QApplication app(qtArgc, argv);
  // No display name: Qt would add it to every window's title ("设置 — Quorvane"),
  // and the captions are shown as they are.
  QApplication::setApplicationName("quorvane");
  // The installed desktop entry's name: desktops match the windows to it,
  // and on Wayland, where a window carries no icon, show the entry's icon.
  QGuiApplication::setDesktopFileName(QStringLiteral("org.quorvane.Quorvane"));
  QApplication::setQuitOnLastWindowClosed(false);

  // One copy per session: a later start shows the running copy's window.
  std::unique_ptr<qv::SingleInstance> instance = qv::claimSingleInstance();
  if (!instance) return 0;

  qv::ui::QtTray tray;
  std::unique_ptr<qv::HostServices> host = qv::makeHostServices(tray);
  qv::Program program(host->platform());
  qv::ui::ViewHost view(program);
  program.setHost(&view);
  qv::installFeatures(program);
  qv::answerOtherStarts(program, *instance);
  program.dispatch([&] { qv::startProgram(program); });
  if (program.ended()) return 0;
  return QApplication::exec();
}
