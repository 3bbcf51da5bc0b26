#pragma once
// Control kinds of the windows. A window class declares its controls as
// members with their design properties; features attach the handlers.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/colour.h"
#include "runtime/handler.h"

namespace qv {

class Form;
class Control;

enum class ControlKind {
  Label,
  TextBox,
  ComboBox,
  CheckBox,
  OptionButton,
  CommandButton,
  Image,
  Frame,
  PictureBox,
  Shape,
  Menu,
};

// What changed, as told to the window's observers (the view).
enum class Property {
  Text,
  Visible,
  Enabled,
  ForeColour,
  BackColour,
  Font,
  Geometry,
  Tooltip,
  Items,
  Value,
  Picture,
  Accessible,
  // Window-level changes (no control).
  Caption,
  Shown,
  Topmost,
  Taskbar,
  WindowState,
  // Requests rather than states: pop the menu up at the mouse; bring an
  // already shown window to the front.
  PopupMenu,
  Raise,
};

struct Font {
  std::string name = "Tahoma";
  double size = 9;
  bool bold = false;
  bool italic = false;
  bool underline = false;
  friend bool operator==(const Font&, const Font&) = default;
};

enum class Align { Left, Centre, Right };
enum class ComboStyle { Editable, PickOnly };

// Where a control sits: twips from the top left of its window's client area,
// or of its frame (15 twips are one pixel at 96 dpi). A control with no size
// is a value holder: it keeps state for the features and is never shown.
struct Twips {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};

// Design-time properties. Fields a kind does not use are ignored. Designated
// initializers must follow this order.
struct Design {
  std::string text;          // caption of labels, buttons, boxes and frames; text of fields
  std::optional<Font> font;  // the window's font when not given
  Colour fore = colours::black;
  Colour back = colours::buttonFace;
  bool opaque = false;  // a label paints its back colour
  Align align = Align::Left;
  bool visible = true;
  bool enabled = true;
  std::string tooltip;
  bool hand = false;          // hand-shaped pointer over links and picture buttons
  Control* parent = nullptr;  // the frame that contains it; groups option buttons
  ComboStyle style = ComboStyle::Editable;
  std::vector<std::string> items;
  int value = 0;        // check box state; 1 selects an option button
  std::string picture;  // name of a picture the view draws
  bool border = false;  // a fixed single border
  bool fit = false;     // a label's font shrinks so its text fits its width
  // What assistive technologies announce for a control that shows no text of
  // its own: a picture button's caption drawn beside it.
  std::string accessible;
};

class Control {
 public:
  Control(Form& form, std::string name, ControlKind kind, Twips at, Design design);
  virtual ~Control();
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  const std::string& name() const { return name_; }
  ControlKind kind() const { return kind_; }
  Form& form() const { return form_; }
  Control* parent() const { return parent_; }

  // No size: a value holder, never shown.
  bool holder() const { return width_ == 0 && height_ == 0; }
  int left() const { return left_; }
  int top() const { return top_; }
  int width() const { return width_; }
  int height() const { return height_; }
  void move(int left, int top, int width, int height);

  const std::string& text() const { return text_; }
  // Fails when the control rejects the text (a pick-only list).
  void setText(std::string_view text);

  bool visible() const { return visible_; }
  void setVisible(bool visible);
  void show() { setVisible(true); }
  void hide() { setVisible(false); }
  bool enabled() const { return enabled_; }
  void setEnabled(bool enabled);

  Colour foreColour() const { return fore_; }
  void setForeColour(Colour colour);
  Colour backColour() const { return back_; }
  void setBackColour(Colour colour);
  bool opaque() const { return opaque_; }
  Align align() const { return align_; }
  bool hand() const { return hand_; }
  bool border() const { return border_; }
  bool fit() const { return fit_; }

  const Font& font() const { return font_; }
  void setFont(const Font& font);
  void setFontSize(double size);
  void setUnderline(bool underline);

  const std::string& tooltip() const { return tooltip_; }
  void setTooltip(std::string tooltip);

  const std::string& picture() const { return picture_; }
  void setPicture(std::string picture);

  // What assistive technologies announce for a control that shows no text
  // of its own (a level bar, for example).
  const std::string& accessibleName() const { return accessible_; }
  void setAccessibleName(std::string name);

  // Runs the click action, as if the user had clicked.
  void click();

  Handler<void()> onClick;
  Handler<void()> onChange;  // after every change of the text

 protected:
  void notify(Property property);
  // Lets a kind refuse a text by failing.
  virtual void checkText(std::string_view) const {}

 private:
  Form& form_;
  std::string name_;
  ControlKind kind_;
  Control* parent_;
  int left_, top_, width_, height_;
  std::string text_;
  Font font_;
  Colour fore_, back_;
  bool opaque_;
  Align align_;
  bool visible_, enabled_;
  std::string tooltip_;
  bool hand_;
  bool border_;
  bool fit_;
  std::string picture_;
  std::string accessible_;
};

class Label : public Control {
 public:
  static constexpr ControlKind kKind = ControlKind::Label;
  Label(Form& form, std::string name, Twips at = {}, Design design = {})
      : Control(form, std::move(name), kKind, at, std::move(design)) {}
};

class TextBox : public Control {
 public:
  static constexpr ControlKind kKind = ControlKind::TextBox;
  TextBox(Form& form, std::string name, Twips at = {}, Design design = {})
      : Control(form, std::move(name), kKind, at, std::move(design)) {}
};

class ComboBox : public Control {
 public:
  static constexpr ControlKind kKind = ControlKind::ComboBox;
  ComboBox(Form& form, std::string name, Twips at = {}, Design design = {});

  ComboStyle style() const { return style_; }
  const std::vector<std::string>& items() const { return items_; }
  void addItem(std::string item);
  // Every whole number from `first` to `last` (counting down when `last` is
  // smaller), written in decimal.
  void addRange(int first, int last);
  void clearItems();
  // Index of the text among the items, -1 when it is none of them.
  int listIndex() const;

  // The user picked an item from the list: the text changes and the click
  // action runs.
  void pick(int index);
  // The user typed a character. Returns false when the key is discarded.
  bool keyPress(char32_t key);

  // Set by the owning feature; returns false to discard a typed key.
  Handler<bool(char32_t)> acceptKey;

 protected:
  void checkText(std::string_view text) const override;

 private:
  ComboStyle style_;
  std::vector<std::string> items_;
};

class CheckBox : public Control {
 public:
  static constexpr ControlKind kKind = ControlKind::CheckBox;
  CheckBox(Form& form, std::string name, Twips at = {}, Design design = {});
  int value() const { return value_; }
  // 0 clear, 1 ticked, 2 grayed; anything else fails. A different value runs
  // the click action.
  void setValue(std::int64_t value);
  // What a mouse click does: ticked becomes clear, anything else ticked.
  void toggle() { setValue(value_ == 1 ? 0 : 1); }

 private:
  int value_;
};

class OptionButton : public Control {
 public:
  static constexpr ControlKind kKind = ControlKind::OptionButton;
  OptionButton(Form& form, std::string name, Twips at = {}, Design design = {});
  bool value() const { return value_; }
  // Selecting an option that was not selected clears the others of its
  // container (without their click actions) and runs its click action.
  // Clearing runs nothing.
  void setValue(bool selected);

 private:
  bool value_;
};

class CommandButton : public Control {
 public:
  static constexpr ControlKind kKind = ControlKind::CommandButton;
  CommandButton(Form& form, std::string name, Twips at = {}, Design design = {})
      : Control(form, std::move(name), kKind, at, std::move(design)) {}
  void press() { click(); }
};

class Image : public Control {
 public:
  static constexpr ControlKind kKind = ControlKind::Image;
  Image(Form& form, std::string name, Twips at = {}, Design design = {})
      : Control(form, std::move(name), kKind, at, std::move(design)) {}
};

class Frame : public Control {
 public:
  static constexpr ControlKind kKind = ControlKind::Frame;
  Frame(Form& form, std::string name, Twips at = {}, Design design = {})
      : Control(form, std::move(name), kKind, at, std::move(design)) {}
};

class PictureBox : public Control {
 public:
  static constexpr ControlKind kKind = ControlKind::PictureBox;
  PictureBox(Form& form, std::string name, Twips at = {}, Design design = {})
      : Control(form, std::move(name), kKind, at, std::move(design)) {}
};

// A rectangle outline in the fore colour.
class Shape : public Control {
 public:
  static constexpr ControlKind kKind = ControlKind::Shape;
  Shape(Form& form, std::string name, Twips at = {}, Design design = {})
      : Control(form, std::move(name), kKind, at, std::move(design)) {}
};

// A menu or menu item; items name their menu as parent.
class Menu : public Control {
 public:
  static constexpr ControlKind kKind = ControlKind::Menu;
  Menu(Form& form, std::string name, Twips at = {}, Design design = {})
      : Control(form, std::move(name), kKind, at, std::move(design)) {}
};

}  // namespace qv
