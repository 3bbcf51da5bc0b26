#include "ui/qt/view_host.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QScreen>
#include <algorithm>

#include "ui/qt/form_view.h"

namespace qv::ui {

ViewHost::ViewHost(Program& program) : program_(program) {
  // Windows the program places against the screen's edges need its size.
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect r = screen->geometry();
    program_.setScreen({r.width() * 15, r.height() * 15});
  }
  pump_.setSingleShot(true);
  pump_.setTimerType(Qt::PreciseTimer);
  QObject::connect(&pump_, &QTimer::timeout, [this] {
    program_.pump();
    rearm();
  });
}

ViewHost::~ViewHost() {
  for (auto& [form, view] : views_) delete view;
}

void ViewHost::created(Form& form) {
  views_[&form] = new FormView(program_, form);
}

void ViewHost::closing(Form& form) {
  auto it = views_.find(&form);
  if (it == views_.end()) return;
  it->second->detach();
  // A widget of this view may be the one whose event is being handled.
  it->second->deleteLater();
  views_.erase(it);
}

void ViewHost::settled() {
  for (auto& [form, view] : views_) view->flush();
  rearm();
}

void ViewHost::ended() {
  pump_.stop();
  QCoreApplication::exit(0);
}

FormView* ViewHost::view(const Form& form) const {
  auto it = views_.find(&form);
  return it == views_.end() ? nullptr : it->second;
}

void ViewHost::rearm() {
  // While a handler waits (for a resume, say) nothing fires; its end settles
  // and comes back here.
  if (program_.ended() || program_.busy()) return;
  // On a resting desktop each wake-up, with the repaint it brings, is most of
  // what the program costs; timers due close together share one.
  auto due = program_.timers().nextWake();
  if (!due) {
    pump_.stop();
    return;
  }
  // Every handled event ends here; most leave the next wake-up as it was.
  if (pump_.isActive() && pumpAt_ == *due) return;
  std::int64_t wait = std::max<std::int64_t>(0, *due - program_.timers().now());
  pump_.start(static_cast<int>(std::min<std::int64_t>(wait, 24LL * 3600 * 1000)));
  pumpAt_ = *due;
}

}  // namespace qv::ui
