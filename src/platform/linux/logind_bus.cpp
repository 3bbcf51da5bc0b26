#include "platform/linux/logind_bus.h"

#include <QDBusError>
#include <QDBusMessage>

#include <atomic>

namespace qv::lnx::logind {
namespace {

// logind answers at once; a caller blocked longer than this is better told no.
constexpr int kCallTimeoutMs = 10000;
// Unless a person is asked for a password first.
constexpr int kInteractiveTimeoutMs = 60000;

QString systemBusAddress() {
  const QString address = qEnvironmentVariable("DBUS_SYSTEM_BUS_ADDRESS");
  return address.isEmpty() ? QStringLiteral("unix:path=/var/run/dbus/system_bus_socket") : address;
}

QString uniqueName() {
  static std::atomic<int> made{0};
  return QStringLiteral("quorvane-logind-%1").arg(++made);
}

std::string describe(const QString& step, const QDBusMessage& reply) {
  return "failed: " + step.toStdString() + ": " + reply.errorName().toStdString() + ": " +
         reply.errorMessage().toStdString();
}

}  // namespace

Bus::Bus()
    : name_(uniqueName()), connection_(QDBusConnection::connectToBus(systemBusAddress(), name_)) {}

Bus::~Bus() {
  QDBusConnection::disconnectFromBus(name_);
}

std::string Bus::failure() const {
  return "failed: no system bus: " + connection_.lastError().message().toStdString();
}

std::optional<std::string> request(QDBusConnection& bus, const QString& can,
                                   const QString& method) {
  const QDBusMessage ask = QDBusMessage::createMethodCall(kService, kPath, kManager, can);
  // QDBus::Block waits without running the caller's event loop.
  const QDBusMessage answer = bus.call(ask, QDBus::Block, kCallTimeoutMs);
  if (answer.type() != QDBusMessage::ReplyMessage) return describe(can, answer);
  const QString verdict = answer.arguments().value(0).toString();
  // "challenge": polkit allows it once the user authenticates, and only an
  // interactive request lets the desktop's authentication agent ask. A "yes"
  // goes ahead without asking anybody.
  const bool challenge = verdict == QStringLiteral("challenge");
  if (verdict != QStringLiteral("yes") && !challenge) {
    return "refused: " + can.toStdString() + " answered \"" + verdict.toStdString() + "\"";
  }
  QDBusMessage act = QDBusMessage::createMethodCall(kService, kPath, kManager, method);
  act << challenge;  // interactive
  const QDBusMessage done =
      bus.call(act, QDBus::Block, challenge ? kInteractiveTimeoutMs : kCallTimeoutMs);
  if (done.type() != QDBusMessage::ReplyMessage) return describe(method, done);
  return std::nullopt;
}

}  // namespace qv::lnx::logind
