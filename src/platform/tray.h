#pragma once
// The notification area: icons with a tooltip, balloons and mouse
// notifications, addressed by icon id.

#include <cstdint>
#include <functional>
#include <string>

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

struct TrayIconData {
  int id = 0;
  unsigned fields = 0;
  bool drawn = false;  // the icon is `picture`, else the application's icon
  TrayPicture picture;
  std::string tip;
  std::string infoText;
  std::string infoTitle;
  int infoKind = 0;  // 1 information, 2 warning
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
};

}  // namespace qv
