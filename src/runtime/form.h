#pragma once
// A window: a single instance known by its name, owning its controls and
// timers. The window classes derive from Form and declare their controls as
// members; the program object creates, closes and destroys them.

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "base/colour.h"
#include "runtime/control.h"
#include "runtime/handler.h"

namespace qv {

class Program;
class Timer;

struct FormDesign {
  std::string caption;
  int left = 0;  // position on the screen, twips
  int top = 0;
  int width = 0;  // client area, twips
  int height = 0;
  Colour back = colours::buttonFace;
  bool topmost = false;
  bool taskbar = true;
  bool toolWindow = false;  // a narrow title bar with a close box only
  std::string icon;         // named picture for the title bar and the tray
  Font font = {};           // of every control that names none
};

enum class WindowState { Normal, Minimized };

class Form {
 public:
  Form(Program& program, std::string name, FormDesign design);
  virtual ~Form();
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  Program& program() const { return program_; }
  const std::string& name() const { return name_; }

  const std::string& caption() const { return caption_; }
  void setCaption(std::string caption);

  bool visible() const { return visible_; }
  // Showing a window that is already shown brings it to the front.
  void show();
  void hide();

  bool topmost() const { return topmost_; }
  void setTopmost(bool topmost);
  bool taskbar() const { return taskbar_; }
  void setTaskbar(bool shown);
  bool toolWindow() const { return toolWindow_; }
  WindowState state() const { return state_; }
  void setState(WindowState state);

  int left() const { return left_; }
  int top() const { return top_; }
  int width() const { return width_; }
  int height() const { return height_; }
  void moveTo(int left, int top);
  Colour backColour() const { return back_; }
  const std::string& icon() const { return icon_; }
  const Font& font() const { return font_; }

  // False once the window has been closed; the program then creates a fresh
  // one on the next access.
  bool loaded() const { return loaded_; }

  const std::vector<Control*>& controls() const { return controls_; }
  const std::vector<Timer*>& timers() const { return timers_; }
  Control* find(std::string_view name) const;
  // The control of that name and kind; a name that is not there, or names
  // another kind, is a fault in the program (std::logic_error).
  template <class T>
  T& get(std::string_view name) const {
    Control* c = find(name);
    if (!c || c->kind() != T::kKind)
      throw std::logic_error(name_ + " has no " + std::string(name) + " of that kind");
    return static_cast<T&>(*c);
  }

  // Asks the view to pop the menu up at the mouse position.
  void popup(Menu& menu);

  // Creation step, run once by the program right after construction.
  Handler<void()> onLoad;
  // A close request (the close box, or code); returns true to refuse.
  Handler<bool()> onCloseRequest;
  // The mouse moved over the window (or the tray delivered a notification)
  // with the given button state: 1 left, 2 right, 4 middle.
  Handler<void(int button)> onMouseMove;

  using Observer = std::function<void(Control*, Property)>;
  int observe(Observer observer);
  void unobserve(int id);
  void notify(Control* control, Property property);

 private:
  friend class Control;
  friend class Timer;
  friend class Program;
  void add(Control& control) { controls_.push_back(&control); }
  void add(Timer& timer) { timers_.push_back(&timer); }

  Program& program_;
  std::string name_;
  std::string caption_;
  bool visible_ = false;
  bool topmost_;
  bool taskbar_;
  bool toolWindow_;
  WindowState state_ = WindowState::Normal;
  int left_, top_, width_, height_;
  Colour back_;
  std::string icon_;
  Font font_;
  bool loaded_ = true;
  std::vector<Control*> controls_;
  std::vector<Timer*> timers_;
  std::vector<std::pair<int, Observer>> observers_;
  int nextObserver_ = 1;
};

}  // namespace qv
