#pragma once
// Connects the program to Qt: one view per window, and one Qt timer armed for
// the earliest due program timer.

#include <QObject>
#include <QTimer>
#include <unordered_map>

#include "runtime/program.h"

namespace qv::ui {

class FormView;

class ViewHost : public FormHost {
 public:
  explicit ViewHost(Program& program);
  ~ViewHost() override;

  void created(Form& form) override;
  void closing(Form& form) override;
  void settled() override;
  void ended() override;

  FormView* view(const Form& form) const;
  // Re-reads the clock: after the machine resumed, overdue timers fire once.
  void rearm();

 private:
  Program& program_;
  std::unordered_map<const Form*, FormView*> views_;
  QTimer pump_;
  std::int64_t pumpAt_ = 0;  // when pump_ fires, while it is active
};

}  // namespace qv::ui
