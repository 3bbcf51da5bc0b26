#pragma once
// Realises any window model with Qt widgets: one widget per control at its
// twip geometry, kept in step with the model both ways. Widgets are built the
// first time the window is shown, so windows that stay hidden cost nothing.

#include <QObject>
#include <QPointer>
#include <functional>
#include <memory>
#include <unordered_map>
#include <unordered_set>

#include "runtime/form.h"

class QWidget;
class QMenu;

namespace qv {
class Program;
}

namespace qv::ui {

class FormWindow;

class FormView : public QObject {
 public:
  FormView(Program& program, Form& form);
  ~FormView() override;

  Form& form() const { return form_; }
  // The top-level widget; null until the window is first shown.
  QWidget* window() const;
  QWidget* widget(const Control& control) const;

  // The model is going away: stop observing it and drop the widgets.
  void detach();
  bool detached() const { return detached_; }
  // Applies updates that are cheaper in one go (list items), and shows a
  // window held back until the handler that showed it returned.
  void flush();

 private:
  void build();
  QWidget* create(Control& control, QWidget* parent);
  void changed(Control* control, Property property);
  void sync(Control& control, Property property);
  void syncAll(Control& control);
  void syncWindow(Property property);
  void syncItems(Control& control);
  void popup(Control& menu);
  // Runs a user action on the model through the program's dispatcher.
  void user(const std::function<void()>& action, Control* resync = nullptr);
  bool outside(const Control& control) const;

  Program& program_;
  Form& form_;
  int observer_ = 0;
  bool detached_ = false;
  bool showLater_ = false;
  QPointer<FormWindow> window_;
  std::unordered_map<const Control*, QWidget*> widgets_;
  std::unordered_set<Control*> pendingItems_;
  std::unique_ptr<QMenu> menu_;
};

}  // namespace qv::ui
