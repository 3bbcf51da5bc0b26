#include "platform/linux/logind_bus.h"

#include <QDBusError>
#include <QDBusMessage>

#include <atomic>

namespace qv::lnx::logind {
namespace {

// logind answers at once; a caller blocked longer than this is better told no.
constexpr int kCallTimeoutMs = 10000;

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
  // "challenge" means logind would ask polkit; it may still allow the caller
  // (an active local session usually may), so the request is made and its
  // own answer counts.
  if (verdict != QStringLiteral("yes") && verdict != QStringLiteral("challenge")) {
    return "refused: " + can.toStdString() + " answered \"" + verdict.toStdString() + "\"";
  }
  QDBusMessage act = QDBusMessage::createMethodCall(kService, kPath, kManager, method);
  act << false;  // interactive
  const QDBusMessage done = bus.call(act, QDBus::Block, kCallTimeoutMs);
  if (done.type() != QDBusMessage::ReplyMessage) return describe(method, done);
  return std::nullopt;
}

}  // namespace qv::lnx::logind
