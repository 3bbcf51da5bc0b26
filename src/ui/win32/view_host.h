#pragma once
// Connects the program to Win32: one view per window, one system timer armed
// for the earliest due program timer, popup menus, and the message loop.

#include <windows.h>

#include <unordered_map>
#include <unordered_set>

#include "runtime/program.h"

namespace qv::ui::win32 {

class FormView;

class ViewHost : public FormHost {
 public:
  explicit ViewHost(Program& program);
  ~ViewHost() override;
  ViewHost(const ViewHost&) = delete;
  ViewHost& operator=(const ViewHost&) = delete;

  void created(Form& form) override;
  void closing(Form& form) override;
  void settled() override;
  void ended() override;

  FormView* view(const Form& form) const;
  // Runs the messages until the program ends; its exit status.
  int run();

  // The menu pops up once the handler that asked for it has returned: the
  // menu's own message loop must not run inside a handler, where no timer
  // may fire.
  void popupLater(FormView& view, Menu& menu);
  // Destroys a closed window's view after the message being handled.
  void destroyLater(FormView* view);

  static LRESULT CALLBACK formProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  static LRESULT CALLBACK hostProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  void rearm();
  void popup();

  Program& program_;
  HWND window_ = nullptr;
  std::unordered_map<const Form*, FormView*> views_;
  std::unordered_set<FormView*> closed_;
  FormView* popupView_ = nullptr;
  Menu* popupMenu_ = nullptr;
  bool tracking_ = false;  // a popup menu is open
  bool armed_ = false;
  std::int64_t pumpAt_ = 0;  // when the system timer fires, while armed
};

}  // namespace qv::ui::win32
