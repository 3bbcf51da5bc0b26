#pragma once
// Reaching logind, the one way this program powers the machine off, restarts
// it or puts it to sleep.

#include <QDBusConnection>
#include <QString>

#include <optional>
#include <string>

namespace qv::lnx::logind {

inline const QString kService = QStringLiteral("org.freedesktop.login1");
inline const QString kPath = QStringLiteral("/org/freedesktop/login1");
inline const QString kManager = QStringLiteral("org.freedesktop.login1.Manager");

// A connection of its own to the system bus, made when the object is and
// closed when it goes: power actions are rare, so nothing is kept open
// between them. The address is read on every connect (DBUS_SYSTEM_BUS_ADDRESS,
// else the well-known socket), never cached.
class Bus {
 public:
  Bus();
  ~Bus();
  Bus(const Bus&) = delete;
  Bus& operator=(const Bus&) = delete;

  bool connected() const { return connection_.isConnected(); }
  QDBusConnection& connection() { return connection_; }
  // Why there is no connection, for a failure line.
  std::string failure() const;

 private:
  QString name_;
  QDBusConnection connection_;
};

// Asks logind whether the action may be taken (`can`, e.g. "CanPowerOff")
// and, on "yes" or "challenge", takes it (`method`, e.g. "PowerOff"):
// interactively only after "challenge", where polkit wants a password that
// the desktop's authentication agent asks for; the call then waits for the
// answer, up to a minute. Empty when logind accepted the request; otherwise
// what went wrong, as the end of a failure line ("refused: ..." or
// "failed: ...").
std::optional<std::string> request(QDBusConnection& bus, const QString& can, const QString& method);

}  // namespace qv::lnx::logind
