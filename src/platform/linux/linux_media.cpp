#include "platform/linux/linux_media.h"

#include <fcntl.h>
#include <linux/cdrom.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QMap>
#include <QStringList>
#include <QVariantMap>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/linux/bus_connection.h"
#include "platform/linux/linux_process.h"

namespace qv::lnx {
namespace {

constexpr const char* kOpenDoor = "set CDAudio door open";
constexpr int kListTimeoutMs = 5000;
// Long enough for a tray to open.
constexpr int kEjectTimeoutMs = 10000;

using Interfaces = QMap<QString, QVariantMap>;
using ManagedObjects = QMap<QDBusObjectPath, Interfaces>;

enum class Outcome { NoDrive, Ejected, Failed };

bool isOptical(const QVariantMap& drive) {
  const QStringList media = drive.value(QStringLiteral("MediaCompatibility")).toStringList();
  for (const QString& medium : media) {
    if (medium.startsWith(QStringLiteral("optical"))) return true;
  }
  return drive.value(QStringLiteral("Optical")).toBool();
}

Outcome ejectThroughUdisks() {
  const QString service = QStringLiteral("org.freedesktop.UDisks2");
  const QString driveInterface = QStringLiteral("org.freedesktop.UDisks2.Drive");
  BusConnection bus(BusConnection::Bus::System, "media");
  if (!bus.connected()) return Outcome::NoDrive;
  const QDBusMessage list = QDBusMessage::createMethodCall(
      service, QStringLiteral("/org/freedesktop/UDisks2"),
      QStringLiteral("org.freedesktop.DBus.ObjectManager"), QStringLiteral("GetManagedObjects"));
  const QDBusMessage objects = bus.call(list, kListTimeoutMs);
  if (objects.type() != QDBusMessage::ReplyMessage) return Outcome::NoDrive;

  // Drives in the order of their object paths.
  const auto managed = qdbus_cast<ManagedObjects>(objects.arguments().value(0));
  for (auto it = managed.cbegin(); it != managed.cend(); ++it) {
    const auto drive = it.value().find(driveInterface);
    if (drive == it.value().cend() || !isOptical(drive.value())) continue;
    QDBusMessage eject = QDBusMessage::createMethodCall(service, it.key().path(), driveInterface,
                                                        QStringLiteral("Eject"));
    eject << QVariantMap();
    const QDBusMessage reply = bus.call(eject, kEjectTimeoutMs);
    if (reply.type() == QDBusMessage::ReplyMessage) return Outcome::Ejected;
    std::fprintf(stderr, "quorvane: cannot eject %s: %s\n", qPrintable(it.key().path()),
                 qPrintable(reply.errorMessage()));
    return Outcome::Failed;
  }
  return Outcome::NoDrive;
}

bool ejectDevice(const std::string& device) {
  const int fd = ::open(device.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    if (errno == ENOENT) {
      std::fprintf(stderr, "quorvane: no optical drive to eject\n");
    } else {
      std::fprintf(stderr, "quorvane: cannot open %s: %s\n", device.c_str(), std::strerror(errno));
    }
    return false;
  }
  const bool ok = ::ioctl(fd, CDROMEJECT, 0) == 0;
  if (!ok)
    std::fprintf(stderr, "quorvane: cannot eject %s: %s\n", device.c_str(), std::strerror(errno));
  ::close(fd);
  return ok;
}

}  // namespace

LinuxMedia::LinuxMedia(std::string device) : device_(std::move(device)), dryRun_(dryRun()) {}

LinuxMedia::~LinuxMedia() {
  finish();
}

bool LinuxMedia::send(const std::string& command) {
  if (command != kOpenDoor) {
    std::fprintf(stderr, "quorvane: unknown media command \"%s\"\n", command.c_str());
    return false;
  }
  if (dryRun_) {
    std::fprintf(stderr, "quorvane: dry run: would eject the optical drive\n");
    return true;
  }
  if (busy_) return true;
  finish();
  busy_ = true;
  worker_ = std::thread([this] {
    outcome_ = eject();
    busy_ = false;
  });
  return true;
}

bool LinuxMedia::finish() {
  if (worker_.joinable()) worker_.join();
  return outcome_;
}

bool LinuxMedia::eject() {
  switch (ejectThroughUdisks()) {
    case Outcome::Ejected:
      return true;
    case Outcome::Failed:
      return false;
    case Outcome::NoDrive:
      break;
  }
  // No udisks2, or it knows no optical drive: the kernel's own request.
  return ejectDevice(device_);
}

}  // namespace qv::lnx
