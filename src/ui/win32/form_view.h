#pragma once
// Realises any window model with Win32 windows: one top-level window per
// form and one child window per control at its twip geometry, at the dpi of
// the monitor the window is on, kept in step with the model both ways.
// Windows are built the first time they are shown, so windows that stay
// hidden cost nothing. Shapes are drawn by the form itself, under its
// controls.

#include <windows.h>

#include <functional>
#include <unordered_map>
#include <unordered_set>

#include "runtime/form.h"

namespace qv {
class Program;
}

namespace qv::ui::win32 {

class ViewHost;

class FormView {
 public:
  FormView(Program& program, Form& form, ViewHost& host);
  ~FormView();
  FormView(const FormView&) = delete;
  FormView& operator=(const FormView&) = delete;

  Form& form() const { return form_; }
  // The top-level window; null until the window is first shown.
  HWND window() const { return hwnd_; }
  HWND widget(const Control& control) const;

  // The model is going away: stop observing it and hide the window, which
  // goes once the message being handled is done (destroyLater()).
  void detach();
  bool detached() const { return detached_; }
  void destroyLater();
  // Applies updates that are cheaper in one go (list items).
  void flush();
  // Runs a user action on the model through the program's dispatcher, then
  // shows what the model made of it.
  void user(const std::function<void()>& action, Control* resync = nullptr);

 private:
  friend struct FormMessages;
  void build();
  void layout();
  // The dpi to lay the window out at on a monitor of `monitorDpi`: less
  // where it would not fit the monitor's work area.
  int fitDpi(int monitorDpi) const;
  // Moves the window into its monitor's work area.
  void keepInside();
  HWND create(Control& control);
  void changed(Control* control, Property property);
  void sync(Control& control, Property property);
  void syncAll(Control& control);
  void syncWindow(Property property);
  void syncItems(Control& control);
  void syncVisibility();
  void fitFont(Control& control);
  RECT place(const Control& control) const;
  bool shown(const Control& control) const;
  bool outside(const Control& control) const;
  Control* control(HWND hwnd) const;

  Program& program_;
  Form& form_;
  ViewHost& host_;
  int observer_ = 0;
  bool detached_ = false;
  HWND hwnd_ = nullptr;
  HWND tooltip_ = nullptr;
  int dpi_ = 96;
  // Our own updates of a window raise notifications that are not the user's.
  bool syncing_ = false;
  std::unordered_map<const Control*, HWND> widgets_;
  std::unordered_map<HWND, Control*> controls_;
  std::unordered_map<const Control*, double> fitted_;  // a label's fitted point size
  std::unordered_set<Control*> pendingItems_;
};

}  // namespace qv::ui::win32
