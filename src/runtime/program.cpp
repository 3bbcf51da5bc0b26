#include "runtime/program.h"

namespace qv {

Program::Program(Platform& platform) : platform_(platform), timers_(platform.clock) {}

Program::~Program() {
  // Timers must leave the queue before it goes; windows go in any order.
  timers_.clear();
  closed_.clear();
  for (auto& w : windows_) w.reset();
}

Form& Program::create(int number, const std::function<std::unique_ptr<Form>()>& make) {
  windows_[number] = make();
  Form& form = *windows_[number];
  for (auto& attach : attachers_[number]) attach(form);
  if (form.onLoad) {
    try {
      form.onLoad();
    } catch (const Failed&) {
      ++escapedFailures_;
    }
  }
  if (host_ && form.loaded()) host_->created(form);
  return form;
}

Form* Program::find(std::string_view name) const {
  for (auto& w : windows_)
    if (w && w->name() == name) return w.get();
  return nullptr;
}

std::vector<Form*> Program::windows() const {
  std::vector<Form*> out;
  for (auto& w : windows_)
    if (w) out.push_back(w.get());
  return out;
}

void Program::close(Form& form) {
  if (!form.loaded()) return;
  form.loaded_ = false;
  for (Timer* t : form.timers()) t->stop();
  if (host_) host_->closing(form);
  for (auto& w : windows_) {
    if (w.get() == &form) {
      closed_.push_back(std::move(w));
      break;
    }
  }
  if (depth_ == 0) closed_.clear();
}

void Program::requestClose(Form& form) {
  if (!form.loaded()) return;
  bool refused = false;
  if (form.onCloseRequest) attempt([&] { refused = form.onCloseRequest(); });
  if (!refused) close(form);
}

void Program::dispatch(const std::function<void()>& handler) {
  if (ended_) return;
  struct Depth {
    int& d;
    explicit Depth(int& depth) : d(depth) { ++d; }
    ~Depth() { --d; }
  };
  // One handler's settings reach the store in one write, when it is done.
  if (depth_ == 0) platform_.settings.hold();
  {
    Depth depth(depth_);
    try {
      handler();
    } catch (const Failed&) {
      ++escapedFailures_;
    } catch (const Ended&) {
      ended_ = true;
      if (depth_ > 1) throw;  // unwinds the outer handler too
    }
  }
  if (depth_ == 0) settle();
}

void Program::settle() {
  platform_.settings.commit();
  closed_.clear();
  if (ended_) {
    timers_.clear();
    if (host_) host_->ended();
  } else if (host_) {
    host_->settled();
  }
}

void Program::pump() {
  if (ended_ || depth_ > 0) return;
  timers_.runDue([this](Timer& t) {
    dispatch([&t] {
      if (t.onTick) t.onTick();
    });
  });
}

void Program::end() {
  ended_ = true;
  throw Ended();
}

}  // namespace qv
