#pragma once
// The notification area: icons with a tooltip, balloons and mouse
// notifications, addressed by icon id.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "base/colour.h"

namespace qv {

enum class TrayAction { Add, Modify, Delete };

// Which fields of TrayIconData an Add or Modify carries.
namespace trayfield {
inline constexpr unsigned message = 1;  // mouse notifications wanted
inline constexpr unsigned icon = 2;
inline constexpr unsigned tip = 4;
inline constexpr unsigned info = 16;  // a balloon
}  // namespace trayfield

// A picture drawn for an icon: text in a font size (points) at a position
// (pixels of the 16 x 16 reference square) on a plain background.
struct TrayPicture {
  Colour background = colours::white;
  std::string text;
  double fontSize = 9;
  int x = 2;
  int y = 2;
  Colour textColour = colours::white;
  std::string fontName = "Tahoma";
  friend bool operator==(const TrayPicture&, const TrayPicture&) = default;
};

// An entry of the menu the context gesture opens, named as the program's
// menu item it stands for.
struct TrayMenuItem {
  std::string name;
  std::string text;
  bool enabled = true;
  friend bool operator==(const TrayMenuItem&, const TrayMenuItem&) = default;
};

struct TrayIconData {
  int id = 0;
  unsigned fields = 0;
  bool drawn = false;  // the icon is `picture`, else the application's icon
  TrayPicture picture;
  std::string tip;
  std::string infoText;
  std::string infoTitle;
  int infoKind = 0;  // 1 information, 2 warning
  // Carried with `message`, for trays that show an icon's menu themselves
  // and list the icons they show: the menu, a name that stays the same from
  // run to run (desktops remember the user's choices for an icon by it), and
  // what the desktop calls the icon.
  std::vector<TrayMenuItem> menu;
  std::string name;
  std::string title;
};

class Tray {
 public:
  virtual ~Tray() = default;
  // Adds, changes or deletes an icon. False when refused: Add of an icon that
  // exists, Modify or Delete of one that does not, or no tray at all.
  virtual bool notify(TrayAction action, const TrayIconData& data) = 0;
  // Mouse notifications of every icon: the icon id and a button state
  // (1 left button, 2 the context gesture). Set by the program.
  std::function<void(int id, int button)> onMouse;
  // Where the tray shows an icon's menu itself, the entry chosen in it: the
  // icon id and the entry's name. Set by the program.
  std::function<void(int id, const std::string& item)> onMenu;
};

}  // namespace qv
