#include "platform/linux/bus_connection.h"

#include <atomic>

namespace qv::lnx {
namespace {

std::atomic<int> connections{0};

QDBusConnection connect(BusConnection::Bus bus, const QString& name) {
  const bool system = bus == BusConnection::Bus::System;
  const QString address =
      qEnvironmentVariable(system ? "DBUS_SYSTEM_BUS_ADDRESS" : "DBUS_SESSION_BUS_ADDRESS");
  if (!address.isEmpty()) return QDBusConnection::connectToBus(address, name);
  if (system) {
    return QDBusConnection::connectToBus(
        QStringLiteral("unix:path=/var/run/dbus/system_bus_socket"), name);
  }
  return QDBusConnection::connectToBus(QDBusConnection::SessionBus, name);
}

}  // namespace

BusConnection::BusConnection(Bus bus, const char* purpose)
    : name_(QStringLiteral("quorvane-%1-%2").arg(QLatin1String(purpose)).arg(++connections)),
      connection_(connect(bus, name_)) {}

BusConnection::~BusConnection() {
  QDBusConnection::disconnectFromBus(name_);
}

bool BusConnection::hasOwner(const QString& service) {
  QDBusMessage ask = QDBusMessage::createMethodCall(
      QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
      QStringLiteral("org.freedesktop.DBus"), QStringLiteral("NameHasOwner"));
  ask << service;
  const QDBusMessage reply = call(ask, 2000);
  return reply.type() == QDBusMessage::ReplyMessage && reply.arguments().value(0).toBool();
}

QDBusMessage BusConnection::call(const QDBusMessage& message, int timeoutMs) {
  return connection_.call(message, QDBus::Block, timeoutMs);
}

}  // namespace qv::lnx
