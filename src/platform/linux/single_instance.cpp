// One copy per session on Linux. The running copy owns the desktop entry's
// name on the session bus and answers org.freedesktop.Application.Activate
// there, as desktops expect of an application; a later start finds the name
// taken and calls that. Without a session bus a lock file in the user's
// runtime directory stands in for the name, with a socket beside it to be
// asked through.

#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QByteArray>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusError>
#include <QDBusMessage>
#include <QDBusReply>
#include <QObject>
#include <QSocketNotifier>
#include <QString>
#include <QVariantMap>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>

#include "platform/single_instance.h"

namespace qv {
namespace lnx {
namespace {

const QString kName = QStringLiteral("org.quorvane.Quorvane");
const QString kPath = QStringLiteral("/org/quorvane/Quorvane");
// A copy that is busy (a handler waiting for the machine to resume) answers
// late: the request stays queued for it, and this start ends all the same.
constexpr auto kAnswer = std::chrono::milliseconds(500);

// Every start runs: there is nowhere to keep a claim.
class Unguarded : public SingleInstance {};

// The object the running copy shows on the bus.
class Application : public QObject {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Application")

 public:
  explicit Application(SingleInstance& owner) : owner_(owner) {}

 public slots:
  void Activate(const QVariantMap& platformData) {
    (void)platformData;
    if (owner_.onShow) owner_.onShow();
  }

 private:
  SingleInstance& owner_;
};

class BusClaim : public SingleInstance {
 public:
  explicit BusClaim(QDBusConnection bus) : bus_(std::move(bus)), application_(*this) {}
  ~BusClaim() override {
    if (named_) bus_.unregisterService(kName);
    if (exported_) bus_.unregisterObject(kPath);
  }
  BusClaim(const BusClaim&) = delete;
  BusClaim& operator=(const BusClaim&) = delete;

  // The object is there before the name: whoever finds the name can call it.
  bool exportObject() {
    exported_ = bus_.registerObject(kPath, &application_, QDBusConnection::ExportAllSlots);
    return exported_;
  }

  enum class Outcome { Owned, Taken, Failed };
  Outcome takeName() {
    QDBusReply<QDBusConnectionInterface::RegisterServiceReply> reply =
        bus_.interface()->registerService(kName, QDBusConnectionInterface::DontQueueService,
                                          QDBusConnectionInterface::DontAllowReplacement);
    if (!reply.isValid()) return Outcome::Failed;
    named_ = reply.value() == QDBusConnectionInterface::ServiceRegistered;
    return named_ ? Outcome::Owned : Outcome::Taken;
  }

 private:
  QDBusConnection bus_;
  Application application_;
  bool exported_ = false;
  bool named_ = false;
};

enum class Asked { Delivered, NoOwner };

Asked askOwnerToShow(const QDBusConnection& bus) {
  QDBusMessage call = QDBusMessage::createMethodCall(
      kName, kPath, QStringLiteral("org.freedesktop.Application"), QStringLiteral("Activate"));
  call << QVariantMap();
  const QDBusMessage reply = bus.call(call, QDBus::Block, static_cast<int>(kAnswer.count()));
  if (reply.type() == QDBusMessage::ErrorMessage &&
      (reply.errorName() == QDBusError::errorString(QDBusError::ServiceUnknown) ||
       reply.errorName() == QStringLiteral("org.freedesktop.DBus.Error.NameHasNoOwner")))
    return Asked::NoOwner;
  // Answered, or queued for a copy that answers late.
  return Asked::Delivered;
}

std::unique_ptr<SingleInstance> claimOnBus(const QDBusConnection& bus) {
  auto claim = std::make_unique<BusClaim>(bus);
  if (!claim->exportObject()) return std::make_unique<Unguarded>();
  // A copy that was ending when asked has let the name go: one more try.
  for (int attempt = 0; attempt < 2; ++attempt) {
    switch (claim->takeName()) {
      case BusClaim::Outcome::Owned:
        return claim;
      case BusClaim::Outcome::Failed:
        // The bus would not say: better two copies than none.
        return std::make_unique<Unguarded>();
      case BusClaim::Outcome::Taken:
        if (askOwnerToShow(bus) == Asked::Delivered) return nullptr;
        break;
    }
  }
  return nullptr;
}

// The lock and the socket, in the user's own runtime directory.
class LockClaim : public SingleInstance {
 public:
  LockClaim(int lock, int listener, std::string socketPath)
      : lock_(lock), listener_(listener), socketPath_(std::move(socketPath)) {
    if (listener_ < 0) return;
    notifier_ = std::make_unique<QSocketNotifier>(listener_, QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] { accept(); });
  }
  ~LockClaim() override {
    notifier_.reset();
    if (listener_ >= 0) {
      ::unlink(socketPath_.c_str());
      ::close(listener_);
    }
    ::close(lock_);
  }
  LockClaim(const LockClaim&) = delete;
  LockClaim& operator=(const LockClaim&) = delete;

 private:
  // A connection is the request; it carries nothing else.
  void accept() {
    bool asked = false;
    for (int peer; (peer = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC)) >= 0;) {
      ::close(peer);
      asked = true;
    }
    if (asked && onShow) onShow();
  }

  int lock_;
  int listener_;
  std::string socketPath_;
  std::unique_ptr<QSocketNotifier> notifier_;
};

bool socketAddress(const std::string& path, sockaddr_un& address) {
  std::memset(&address, 0, sizeof address);
  address.sun_family = AF_UNIX;
  if (path.size() >= sizeof address.sun_path) return false;
  std::memcpy(address.sun_path, path.data(), path.size());
  return true;
}

int listenAt(const std::string& path) {
  sockaddr_un address;
  if (!socketAddress(path, address)) return -1;
  const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (fd < 0) return -1;
  // Left behind by a copy that did not end cleanly; the lock says it is gone.
  ::unlink(path.c_str());
  if (::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
      ::listen(fd, 8) != 0) {
    ::close(fd);
    return -1;
  }
  return fd;
}

// The holder binds its socket just after taking the lock: a start that
// comes in between waits a moment for it.
void askHolderToShow(const std::string& path) {
  sockaddr_un address;
  if (!socketAddress(path, address)) return;
  const auto until = std::chrono::steady_clock::now() + kAnswer;
  do {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return;
    const bool reached =
        ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);
    if (reached) return;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  } while (std::chrono::steady_clock::now() < until);
}

std::unique_ptr<SingleInstance> claimWithLock() {
  const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
  // No runtime directory: a lock anywhere else could be another user's.
  if (runtime.isEmpty()) return std::make_unique<Unguarded>();
  const std::string base = runtime.toStdString() + "/" + kName.toStdString();
  const std::string socketPath = base + ".socket";
  const int lock =
      ::open((base + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (lock < 0) return std::make_unique<Unguarded>();
  if (::flock(lock, LOCK_EX | LOCK_NB) == 0)
    return std::make_unique<LockClaim>(lock, listenAt(socketPath), socketPath);
  const int error = errno;
  ::close(lock);
  if (error != EWOULDBLOCK) return std::make_unique<Unguarded>();
  askHolderToShow(socketPath);
  return nullptr;
}

}  // namespace
}  // namespace lnx

std::unique_ptr<SingleInstance> claimSingleInstance() {
  const QDBusConnection bus = QDBusConnection::sessionBus();
  if (bus.isConnected()) return lnx::claimOnBus(bus);
  return lnx::claimWithLock();
}

}  // namespace qv

#include "single_instance.moc"
