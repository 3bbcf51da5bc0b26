#include "platform/linux/sysfs_disks.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QString>
#include <QVariant>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <string>

#include "platform/linux/sysfs_read.h"

namespace qv::lnx {
namespace {

std::int16_t wholeDegrees(std::int64_t milliC) {
  return static_cast<std::int16_t>((milliC + 500) / 1000);
}

std::optional<int> celsiusFromKelvin(double kelvin) {
  const double celsius = kelvin - 273.15;
  // Also 0 K, udisks' "unknown", and NaN.
  if (!(celsius >= 0.5 && celsius <= 150.0)) return std::nullopt;
  return static_cast<int>(std::lround(celsius));
}

bool asleep(const std::optional<std::string>& power) {
  return power == "suspended" || power == "suspending";
}

const QString kUdisksService = QStringLiteral("org.freedesktop.UDisks2");
// The bus is asked on the user-interface thread: a stuck daemon may cost this
// much once per round, never once per disk.
constexpr int kCallTimeoutMs = 500;

// udisks names its block objects after the device, escaping everything but
// letters and digits as _xx.
QString blockObjectPath(const std::string& device) {
  QString path = QStringLiteral("/org/freedesktop/UDisks2/block_devices/");
  for (const unsigned char c : device) {
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) {
      path += QLatin1Char(static_cast<char>(c));
    } else {
      path += QStringLiteral("_%1").arg(static_cast<uint>(c), 2, 16, QLatin1Char('0'));
    }
  }
  return path;
}

}  // namespace

// udisks2 keeps each ATA drive's SMART temperature as a property; reading it
// returns the daemon's cached value and sends nothing to the disk.
class SysfsDisks::Udisks {
 public:
  explicit Udisks(std::chrono::milliseconds rescan)
      : name_(QStringLiteral("quorvane-udisks-%1").arg(++instances_)), rescan_(rescan) {}
  ~Udisks() { QDBusConnection::disconnectFromBus(name_); }
  Udisks(const Udisks&) = delete;
  Udisks& operator=(const Udisks&) = delete;

  // A reading asks again whether udisks is there only when the last answer
  // is old: on a machine without a system bus, connecting again every few
  // seconds was most of what reading the disks cost. While there is
  // no bus at all, each failed try doubles the wait, up to 16 times.
  void newRound() {
    if (std::chrono::steady_clock::now() - decided_ >= rescan_ * backoff_) state_ = State::Unasked;
  }

  // Whether udisks runs and may be asked about the disks. Only a running one
  // is asked: asking an absent one would start it through bus activation, and
  // it would then probe every disk.
  bool usable() {
    if (state_ != State::Unasked) return state_ == State::Usable;
    decide(State::Unusable);
    QDBusConnection bus = connection();
    if (!bus.isConnected()) {
      backoff_ = std::min(backoff_ * 2, 16);
      return false;
    }
    backoff_ = 1;
    QDBusMessage ask = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("NameHasOwner"));
    ask << kUdisksService;
    const QDBusMessage reply = bus.call(ask, QDBus::Block, kCallTimeoutMs);
    if (reply.type() == QDBusMessage::ReplyMessage && reply.arguments().value(0).toBool()) {
      state_ = State::Usable;
    }
    return state_ == State::Usable;
  }

  std::optional<int> celsius(const std::string& device) {
    if (!usable()) return std::nullopt;
    const auto drive =
        property(blockObjectPath(device), QStringLiteral("org.freedesktop.UDisks2.Block"),
                 QStringLiteral("Drive"));
    if (!drive) return std::nullopt;
    const QString drivePath = drive->value<QDBusObjectPath>().path();
    if (drivePath.isEmpty() || drivePath == QStringLiteral("/")) return std::nullopt;
    const auto kelvin = property(drivePath, QStringLiteral("org.freedesktop.UDisks2.Drive.Ata"),
                                 QStringLiteral("SmartTemperature"));
    bool ok = false;
    const double value = kelvin ? kelvin->toDouble(&ok) : 0;
    return ok ? celsiusFromKelvin(value) : std::nullopt;
  }

 private:
  enum class State { Unasked, Usable, Unusable };

  // The address the standard way: DBUS_SYSTEM_BUS_ADDRESS, else the
  // well-known socket. Read here rather than left to libdbus, which reads it
  // once per process.
  static QString systemBusAddress() {
    const QString address = qEnvironmentVariable("DBUS_SYSTEM_BUS_ADDRESS");
    return address.isEmpty() ? QStringLiteral("unix:path=/var/run/dbus/system_bus_socket")
                             : address;
  }

  QDBusConnection connection() {
    QDBusConnection existing(name_);
    if (existing.isConnected()) return existing;
    QDBusConnection::disconnectFromBus(name_);  // a dropped one is not reused
    return QDBusConnection::connectToBus(systemBusAddress(), name_);
  }

  void decide(State state) {
    state_ = state;
    decided_ = std::chrono::steady_clock::now();
  }

  std::optional<QVariant> property(const QString& path, const QString& interface,
                                   const QString& name) {
    QDBusMessage get = QDBusMessage::createMethodCall(
        kUdisksService, path, QStringLiteral("org.freedesktop.DBus.Properties"),
        QStringLiteral("Get"));
    get.setAutoStartService(false);
    get << interface << name;
    const QDBusMessage reply = connection().call(get, QDBus::Block, kCallTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage) {
      // An unknown object or property is an answer; silence or a service
      // gone is not, and asking again would only wait or fail again.
      const QString error = reply.errorName();
      if (error == QStringLiteral("org.freedesktop.DBus.Error.NoReply") ||
          error == QStringLiteral("org.freedesktop.DBus.Error.Timeout") ||
          error == QStringLiteral("org.freedesktop.DBus.Error.Disconnected") ||
          error == QStringLiteral("org.freedesktop.DBus.Error.ServiceUnknown") ||
          error == QStringLiteral("org.freedesktop.DBus.Error.NameHasNoOwner")) {
        decide(State::Unusable);
      }
      return std::nullopt;
    }
    return reply.arguments().value(0).value<QDBusVariant>().variant();
  }

  static inline std::atomic<int> instances_{0};
  QString name_;
  std::chrono::milliseconds rescan_;
  State state_ = State::Unasked;
  std::chrono::steady_clock::time_point decided_;
  int backoff_ = 1;  // rescans to wait for the next try: 1, 2, 4 .. 16 without a bus
};

SysfsDisks::SysfsDisks(std::filesystem::path root, UdisksFallback udisks,
                       std::chrono::milliseconds rescan)
    : root_(std::move(root)),
      rescans_(rescan),
      udisks_(udisks == UdisksFallback::On ? std::make_unique<Udisks>(rescan) : nullptr) {}

SysfsDisks::~SysfsDisks() = default;

void SysfsDisks::scan(Rescans::Clock::time_point now) {
  const auto disks = scanDiskSensors(root_);
  listed_ = disks.has_value();
  disks_.clear();
  for (const TemperatureSensor& s : disks.value_or(std::vector<TemperatureSensor>{}))
    disks_.push_back({s.label, s.input, s.power, s.milliC.has_value()});
  // Disks plugged in later are found by the next periodic scan.
  rescans_.scanned(now, true);
}

std::vector<DiskTemperature> SysfsDisks::read(bool& lost) {
  lost = false;
  std::vector<DiskTemperature> out;
  for (Disk& disk : disks_) {
    const bool udisks = udisks_ && udisks_->usable();
    if (disk.input.empty() && !udisks) continue;  // nowhere to ask: no file read
    // Reading the sensor of a runtime-suspended disk would resume it.
    if (!disk.power.empty() && asleep(sysfs::readText(disk.power))) continue;
    std::optional<int> celsius;
    if (!disk.input.empty()) {
      const auto milliC = sysfs::readInteger(disk.input);
      if (milliC && plausibleDisk(*milliC)) {
        celsius = wholeDegrees(*milliC);
        disk.answered = true;
      } else if (disk.answered) {
        lost = true;
      }
    }
    if (!celsius && udisks) celsius = udisks_->celsius(disk.name);
    if (celsius) out.push_back({disk.name, static_cast<std::int16_t>(*celsius)});
  }
  return out;
}

std::optional<std::vector<DiskTemperature>> SysfsDisks::temperatures() {
  const auto now = Rescans::Clock::now();
  bool fresh = false;
  if (rescans_.due(now)) {
    scan(now);
    fresh = true;
  }
  if (!listed_) return std::nullopt;
  if (udisks_) udisks_->newRound();
  bool lost = false;
  auto out = read(lost);
  if (lost && !fresh) {
    // A disk gone quiet may be back under another name, or another sensor.
    scan(now);
    if (!listed_) return std::nullopt;
    out = read(lost);
  }
  rescans_.reading(now, static_cast<long>(out.size()));
  // The program shows the last disk: the one that needs watching.
  std::stable_sort(out.begin(), out.end(), [](const DiskTemperature& a, const DiskTemperature& b) {
    return a.celsius < b.celsius;
  });
  return out;
}

std::optional<std::vector<TemperatureSensor>> SysfsDisks::sensors() {
  auto disks = scanDiskSensors(root_);
  if (!disks || !udisks_) return disks;
  udisks_->newRound();
  for (TemperatureSensor& s : *disks) {
    if (!s.driver.empty() || s.asleep || !udisks_->usable()) continue;
    if (const auto celsius = udisks_->celsius(s.label)) {
      s.driver = "udisks";
      s.milliC = std::int64_t{*celsius} * 1000;
    }
  }
  return disks;
}

}  // namespace qv::lnx
