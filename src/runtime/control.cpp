#include "runtime/control.h"

#include <algorithm>

#include "runtime/census.h"
#include "runtime/failure.h"
#include "runtime/form.h"

namespace qv {

Control::Control(Form& form, std::string name, ControlKind kind, Twips at, Design design)
    : form_(form),
      name_(std::move(name)),
      kind_(kind),
      parent_(design.parent),
      left_(at.left),
      top_(at.top),
      width_(at.width),
      height_(at.height),
      text_(std::move(design.text)),
      font_(design.font ? std::move(*design.font) : form.font()),
      fore_(design.fore),
      back_(design.back),
      opaque_(design.opaque),
      align_(design.align),
      visible_(design.visible),
      enabled_(design.enabled),
      tooltip_(std::move(design.tooltip)),
      hand_(design.hand),
      border_(design.border),
      fit_(design.fit),
      picture_(std::move(design.picture)),
      accessible_(std::move(design.accessible)) {
  form_.add(*this);
  ++census::controls;
}

Control::~Control() {
  --census::controls;
}

void Control::notify(Property property) {
  form_.notify(this, property);
}

void Control::move(int left, int top, int width, int height) {
  if (left == left_ && top == top_ && width == width_ && height == height_) return;
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
  notify(Property::Geometry);
}

void Control::setText(std::string_view text) {
  checkText(text);
  if (text == text_) return;
  text_.assign(text);
  notify(Property::Text);
  if (onChange) onChange();
}

void Control::setVisible(bool visible) {
  if (visible == visible_) return;
  visible_ = visible;
  notify(Property::Visible);
}

void Control::setEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  notify(Property::Enabled);
}

void Control::setForeColour(Colour colour) {
  if (colour == fore_) return;
  fore_ = colour;
  notify(Property::ForeColour);
}

void Control::setBackColour(Colour colour) {
  if (colour == back_) return;
  back_ = colour;
  notify(Property::BackColour);
}

void Control::setFont(const Font& font) {
  if (font == font_) return;
  font_ = font;
  notify(Property::Font);
}

void Control::setFontSize(double size) {
  if (!(size > 0 && size <= 2160)) fail("invalid font size");
  Font f = font_;
  f.size = size;
  setFont(f);
}

void Control::setUnderline(bool underline) {
  Font f = font_;
  f.underline = underline;
  setFont(f);
}

void Control::setTooltip(std::string tooltip) {
  if (tooltip == tooltip_) return;
  tooltip_ = std::move(tooltip);
  notify(Property::Tooltip);
}

void Control::setPicture(std::string picture) {
  if (picture == picture_) return;
  picture_ = std::move(picture);
  notify(Property::Picture);
}

void Control::setAccessibleName(std::string name) {
  if (name == accessible_) return;
  accessible_ = std::move(name);
  notify(Property::Accessible);
}

void Control::click() {
  if (onClick) onClick();
}

ComboBox::ComboBox(Form& form, std::string name, Twips at, Design design)
    : Control(form, std::move(name), kKind, at, design),
      style_(design.style),
      items_(std::move(design.items)) {}

void ComboBox::addItem(std::string item) {
  items_.push_back(std::move(item));
  notify(Property::Items);
}

void ComboBox::addRange(int first, int last) {
  int step = first <= last ? 1 : -1;
  for (int n = first;; n += step) {
    items_.push_back(std::to_string(n));
    if (n == last) break;
  }
  notify(Property::Items);
}

void ComboBox::clearItems() {
  if (items_.empty()) return;
  items_.clear();
  notify(Property::Items);
}

int ComboBox::listIndex() const {
  auto it = std::find(items_.begin(), items_.end(), text());
  return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

void ComboBox::checkText(std::string_view t) const {
  if (style_ == ComboStyle::PickOnly && !t.empty() &&
      std::find(items_.begin(), items_.end(), t) == items_.end())
    fail("not an item of the list");
}

void ComboBox::pick(int index) {
  if (index < 0 || static_cast<std::size_t>(index) >= items_.size()) fail("no such item");
  setText(items_[static_cast<std::size_t>(index)]);
  click();
}

bool ComboBox::keyPress(char32_t key) {
  if (style_ == ComboStyle::PickOnly) return false;
  return !acceptKey || acceptKey(key);
}

CheckBox::CheckBox(Form& form, std::string name, Twips at, Design design)
    : Control(form, std::move(name), kKind, at, design),
      value_(design.value >= 0 && design.value <= 2 ? design.value : 0) {}

void CheckBox::setValue(std::int64_t value) {
  if (value < 0 || value > 2) fail("check box value out of range");
  if (value == value_) return;
  value_ = static_cast<int>(value);
  notify(Property::Value);
  click();
}

OptionButton::OptionButton(Form& form, std::string name, Twips at, Design design)
    : Control(form, std::move(name), kKind, at, design), value_(design.value != 0) {}

void OptionButton::setValue(bool selected) {
  if (selected == value_) return;
  if (selected) {
    for (Control* c : form().controls()) {
      if (c != this && c->kind() == ControlKind::OptionButton && c->parent() == parent()) {
        auto* sibling = static_cast<OptionButton*>(c);
        if (sibling->value_) {
          sibling->value_ = false;
          sibling->notify(Property::Value);
        }
      }
    }
  }
  value_ = selected;
  notify(Property::Value);
  if (selected) click();
}

}  // namespace qv
