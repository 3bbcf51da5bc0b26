#pragma once
#include <QDBusConnection>
#include <QDBusMessage>
#include <QString>

namespace qv::lnx {

// A private connection to the system or session bus for one errand, closed
// when the object goes. The address is read from DBUS_SYSTEM_BUS_ADDRESS or
// DBUS_SESSION_BUS_ADDRESS at connection time (libdbus reads them once per
// process); without it, the well-known system socket or libdbus's own way to
// the session bus.
class BusConnection {
 public:
  enum class Bus { System, Session };
  BusConnection(Bus bus, const char* purpose);
  ~BusConnection();
  BusConnection(const BusConnection&) = delete;
  BusConnection& operator=(const BusConnection&) = delete;

  bool connected() const { return connection_.isConnected(); }
  // Whether `service` runs now; asking does not start it.
  bool hasOwner(const QString& service);
  QDBusMessage call(const QDBusMessage& message, int timeoutMs);

 private:
  QString name_;
  QDBusConnection connection_;
};

}  // namespace qv::lnx
