#include "platform/linux/linux_display_power.h"

#include <QDBusMessage>
#include <QDBusVariant>
#include <QVariant>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/linux/bus_connection.h"
#include "platform/linux/linux_process.h"
#include "platform/linux/x11_dpms.h"

namespace qv::lnx {
namespace {

constexpr int kCallTimeoutMs = 5000;

std::string env(const char* name) {
  const char* v = std::getenv(name);
  return v ? v : "";
}

// Under Wayland DISPLAY often names Xwayland, whose DPMS switches nothing.
bool isWayland() {
  return env("XDG_SESSION_TYPE") == "wayland" || !env("WAYLAND_DISPLAY").empty();
}

bool fail(const std::string& why) {
  std::fprintf(stderr, "quorvane: cannot switch the display off: %s\n", why.c_str());
  return false;
}

bool replied(const QDBusMessage& reply, std::string& why) {
  if (reply.type() == QDBusMessage::ReplyMessage) return true;
  why = reply.errorMessage().toStdString();
  return false;
}

bool waylandDisplayOff() {
  BusConnection bus(BusConnection::Bus::Session, "display");
  if (!bus.connected()) return fail("no session bus");
  std::string why;
  const QString mutter = QStringLiteral("org.gnome.Mutter.DisplayConfig");
  if (bus.hasOwner(mutter)) {
    // Power save mode 3 is "off" (0 on, 1 standby, 2 suspend).
    QDBusMessage set = QDBusMessage::createMethodCall(
        mutter, QStringLiteral("/org/gnome/Mutter/DisplayConfig"),
        QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Set"));
    set << mutter << QStringLiteral("PowerSaveMode")
        << QVariant::fromValue(QDBusVariant(QVariant(static_cast<int>(3))));
    if (replied(bus.call(set, kCallTimeoutMs), why)) return true;
    return fail("Mutter: " + why);
  }
  const QString kglobalaccel = QStringLiteral("org.kde.kglobalaccel");
  if (bus.hasOwner(kglobalaccel)) {
    QDBusMessage invoke = QDBusMessage::createMethodCall(
        kglobalaccel, QStringLiteral("/component/org_kde_powerdevil"),
        QStringLiteral("org.kde.kglobalaccel.Component"), QStringLiteral("invokeShortcut"));
    invoke << QStringLiteral("Turn Off Screen");
    if (replied(bus.call(invoke, kCallTimeoutMs), why)) return true;
    return fail("KDE: " + why);
  }
  return fail("this Wayland desktop offers no way to do it");
}

}  // namespace

LinuxDisplayPower::LinuxDisplayPower() : dryRun_(dryRun()) {}

bool LinuxDisplayPower::displayOff() {
  const bool wayland = isWayland();
  const std::string display = env("DISPLAY");
  if (!wayland && display.empty()) return fail("no display");
  if (dryRun_) {
    const std::string how = wayland ? "Wayland, over D-Bus" : "X11 DPMS on " + display;
    std::fprintf(stderr, "quorvane: dry run: would switch the display off (%s)\n", how.c_str());
    return true;
  }
  if (wayland) return waylandDisplayOff();
  std::string why;
  return forceX11DisplayOff(display, why) || fail(why);
}

}  // namespace qv::lnx
