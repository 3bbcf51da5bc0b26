#pragma once
// The application icon in the notification area (icon id 1): one record kept
// for the whole run, whose fields persist between operations, so an
// operation changes only the fields it names.

#include <string>

#include "platform/tray.h"

namespace qv {

class Form;
class Program;

struct TrayRecord {
  const Form* owner = nullptr;
  int id = 1;
  unsigned fields = 0;
  std::string tip;
  std::string infoText;
  std::string infoTitle;
  int infoKind = 0;  // 1 information, 2 warning
};

// Adds the icon with the main window's icon and the tooltip; refused (and
// nothing changes) when it exists already.
void AddTrayIcon(Program& program, const Form& owner, const std::string& tip);
void RemoveTrayIcon(Program& program);
// A balloon from the application icon; its picture and tooltip stay.
void ShowTrayBalloon(Program& program, const Form& owner, const std::string& text,
                     const std::string& title, int kind);
void SetTrayTip(Program& program, const std::string& tip);

// Trays that show an icon's menu themselves (StatusNotifier hosts) get the
// main window's tray menu with an Add, and the icon's name and title for the
// desktop's lists of icons.
void describeTrayIcon(Program& program, TrayIconData& data, std::string name, std::string title);

// The readout icon's record (tray icon id 0), kept by the main window for the
// whole run: the tray picture fills it, the exit deletes the icon it added.
TrayIconData& readoutIconRecord(Program& program);
void removeReadoutIcon(Program& program);

// A tray notification with the given button state (1 left, 2 right), as the
// main window's mouse-move handler gets it.
void trayMouse(Program& program, int button);
// Routes the tray's mouse notifications to the main window's mouse-move
// handler, as the original shell does, and an entry chosen in a menu the tray
// shows itself to that entry of the main window's tray menu.
void installTrayMouse(Program& program);

}  // namespace qv
