#include "platform/linux/logind_sleep.h"

#include <QDBusError>
#include <QEventLoop>
#include <QObject>
#include <QThread>
#include <QTimer>

#include <memory>

#include "platform/linux/logind_bus.h"

namespace qv::lnx::logind {
namespace {

std::string seconds(std::chrono::milliseconds bound) {
  const auto ms = bound.count();
  return ms % 1000 == 0 ? std::to_string(ms / 1000) + " s" : std::to_string(ms) + " ms";
}

// Follows logind's PrepareForSleep: true just before the machine sleeps,
// false once it has resumed.
class SleepWatch : public QObject {
  Q_OBJECT

 public:
  enum class State { Awake, Asleep, Resumed };

  SleepWatch(std::chrono::milliseconds sleepBound, std::chrono::milliseconds awakeBound)
      : awakeBound_(awakeBound) {
    deadline_.setSingleShot(true);
    deadline_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&deadline_, &QTimer::timeout, &loop_, &QEventLoop::quit);
    deadline_.setInterval(sleepBound);
  }

  // Runs this thread's loop until the resume or a bound has passed.
  State wait() {
    deadline_.start();
    loop_.exec();
    return state_;
  }

 public slots:
  void prepareForSleep(bool sleeping) {
    // A false while still awake ends a sleep begun before the request, not
    // the one asked for, and is passed over.
    if (sleeping && state_ == State::Awake) {
      state_ = State::Asleep;
      deadline_.start(awakeBound_);  // Qt's timers run on awake time
    } else if (!sleeping && state_ == State::Asleep) {
      state_ = State::Resumed;
      loop_.quit();
    }
  }

 private:
  std::chrono::milliseconds awakeBound_;
  State state_ = State::Awake;
  QEventLoop loop_;
  QTimer deadline_;
};

// On the worker thread: subscribe, request, wait.
SleepOutcome suspendOnThisThread(std::chrono::milliseconds sleepBound,
                                 std::chrono::milliseconds awakeBound) {
  Bus bus;
  if (!bus.connected()) return {false, bus.failure()};
  SleepWatch watch(sleepBound, awakeBound);
  // Subscribed before the request and on the same connection, so the bus
  // applies the match before logind sees the request and no signal can be
  // missed. Signals that come while the calls block wait in this thread's
  // queue until the loop runs.
  if (!bus.connection().connect(kService, kPath, kManager, QStringLiteral("PrepareForSleep"),
                                &watch, SLOT(prepareForSleep(bool)))) {
    return {false, "failed: cannot follow PrepareForSleep: " +
                       bus.connection().lastError().message().toStdString()};
  }
  SleepOutcome outcome{true, {}};
  if (auto failure =
          request(bus.connection(), QStringLiteral("CanSuspend"), QStringLiteral("Suspend"))) {
    outcome = {false, *failure};
  } else {
    switch (watch.wait()) {
      case SleepWatch::State::Awake:
        outcome.note = "accepted, but logind did not announce sleep within " + seconds(sleepBound);
        break;
      case SleepWatch::State::Asleep:
        outcome.note =
            "accepted, but no resume announced within " + seconds(awakeBound) + " of awake time";
        break;
      case SleepWatch::State::Resumed:
        break;
    }
  }
  bus.connection().disconnect(kService, kPath, kManager, QStringLiteral("PrepareForSleep"), &watch,
                              SLOT(prepareForSleep(bool)));
  return outcome;
}

}  // namespace

// The wait runs on a worker thread with its own connection and event loop,
// and the caller only blocks on that thread. A nested event loop on the
// caller's thread would run the program's timers and the user's clicks while
// the machine goes to sleep and wakes; the program counts on nothing of its
// own happening until the resume. Every step of the worker is bounded (call
// time-outs, the two bounds), so the join is too.
SleepOutcome suspendAndWait(std::chrono::milliseconds sleepBound,
                            std::chrono::milliseconds awakeBound) {
  SleepOutcome outcome;
  const std::unique_ptr<QThread> worker(
      QThread::create([&] { outcome = suspendOnThisThread(sleepBound, awakeBound); }));
  worker->start();
  worker->wait();
  return outcome;
}

}  // namespace qv::lnx::logind

#include "logind_sleep.moc"
