#include "runtime/form.h"

#include <algorithm>

#include "runtime/census.h"

namespace qv {

Form::Form(Program& program, std::string name, FormDesign design)
    : program_(program),
      name_(std::move(name)),
      caption_(std::move(design.caption)),
      topmost_(design.topmost),
      taskbar_(design.taskbar),
      toolWindow_(design.toolWindow),
      left_(design.left),
      top_(design.top),
      width_(design.width),
      height_(design.height),
      back_(design.back),
      icon_(std::move(design.icon)),
      font_(std::move(design.font)) {
  ++census::forms;
}

Form::~Form() {
  census::observers -= static_cast<int>(observers_.size());
  --census::forms;
}

void Form::setCaption(std::string caption) {
  if (caption == caption_) return;
  caption_ = std::move(caption);
  notify(nullptr, Property::Caption);
}

void Form::show() {
  if (visible_) {
    notify(nullptr, Property::Raise);
    return;
  }
  visible_ = true;
  notify(nullptr, Property::Shown);
}

void Form::hide() {
  if (!visible_) return;
  visible_ = false;
  notify(nullptr, Property::Shown);
}

void Form::setTopmost(bool topmost) {
  if (topmost == topmost_) return;
  topmost_ = topmost;
  notify(nullptr, Property::Topmost);
}

void Form::setTaskbar(bool shown) {
  if (shown == taskbar_) return;
  taskbar_ = shown;
  notify(nullptr, Property::Taskbar);
}

void Form::setState(WindowState state) {
  if (state == state_) return;
  state_ = state;
  notify(nullptr, Property::WindowState);
}

void Form::moveTo(int left, int top) {
  if (left == left_ && top == top_) return;
  left_ = left;
  top_ = top;
  notify(nullptr, Property::Geometry);
}

Control* Form::find(std::string_view name) const {
  for (Control* c : controls_)
    if (c->name() == name) return c;
  return nullptr;
}

void Form::popup(Menu& menu) {
  notify(&menu, Property::PopupMenu);
}

int Form::observe(Observer observer) {
  observers_.emplace_back(nextObserver_, std::move(observer));
  ++census::observers;
  return nextObserver_++;
}

void Form::unobserve(int id) {
  auto it = std::find_if(observers_.begin(), observers_.end(),
                         [id](const auto& o) { return o.first == id; });
  if (it == observers_.end()) return;
  observers_.erase(it);
  --census::observers;
}

void Form::notify(Control* control, Property property) {
  for (std::size_t i = 0; i < observers_.size(); ++i) observers_[i].second(control, property);
}

}  // namespace qv
