#include "platform/linux/sysfs_disks.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QString>
#include <QVariant>

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <string_view>

#include "platform/linux/sysfs_read.h"

namespace qv::lnx {
namespace {

namespace fs = std::filesystem;

// Block devices that are not disks or have no temperature of their own.
constexpr std::array kNotDisks{std::string_view("loop"), std::string_view("ram"),
                               std::string_view("zram"), std::string_view("dm-"),
                               std::string_view("md"),   std::string_view("sr"),
                               std::string_view("fd"),   std::string_view("nbd")};

bool isDiskName(std::string_view name) {
  return std::none_of(kNotDisks.begin(), kNotDisks.end(),
                      [name](std::string_view prefix) { return name.starts_with(prefix); });
}

constexpr std::size_t kIdOffset = 2;  // entry 0 of the attribute table
constexpr std::uint8_t kTemperatureId = 194;

// The byte that carries the temperature. The program finds the temperature by
// looking for the byte 194 anywhere in the table, so no other byte may hold
// it: a (physically impossible) 194 °C reads as 195.
std::uint8_t temperatureByte(int celsius) {
  const int clamped = std::clamp(celsius, 1, 255);
  return static_cast<std::uint8_t>(clamped == kTemperatureId ? kTemperatureId + 1 : clamped);
}

SmartTable temperatureTable(int celsius) {
  SmartTable table(kSmartTableSize, 0);
  table[0] = 0x10;  // revision
  std::uint8_t* entry = table.data() + kIdOffset;
  entry[0] = kTemperatureId;
  entry[1] = 0x22;                      // flags: updated online, self-preserving
  entry[3] = 100;                       // current value
  entry[4] = 100;                       // worst value
  entry[5] = temperatureByte(celsius);  // raw value, least significant byte first
  return table;
}

// A disk reading of 0 or below is a sensor that has nothing to say yet.
std::optional<int> celsiusFromMilli(std::int64_t milliC) {
  if (milliC <= 0) return std::nullopt;
  return static_cast<int>((std::min<std::int64_t>(milliC, 255'000) + 500) / 1000);
}

std::optional<int> celsiusFromKelvin(double kelvin) {
  const double celsius = kelvin - 273.15;
  if (!(celsius > 0)) return std::nullopt;  // also 0 K, udisks' "unknown", and NaN
  return static_cast<int>(std::lround(std::min(celsius, 255.0)));
}

std::optional<std::int64_t> nvmeMilliC(const fs::path& hwmon, sysfs::Listings& listings) {
  // The composite temperature is the drive's own summary; temp1 is the same
  // sensor on drivers without labels.
  if (const auto& names = listings.entries(hwmon)) {
    for (const std::string_view name : *names) {
      if (!name.starts_with("temp") || !name.ends_with("_label")) continue;
      if (sysfs::readText(hwmon / name) != "Composite") continue;
      const std::string stem(name.substr(0, name.size() - 6));
      return sysfs::readInteger(hwmon / (stem + "_input"));
    }
  }
  return sysfs::readInteger(hwmon / "temp1_input");
}

std::optional<std::int64_t> hwmonMilliC(const fs::path& hwmon, sysfs::Listings& listings) {
  const auto name = sysfs::readText(hwmon / "name");
  if (name == "nvme") return nvmeMilliC(hwmon, listings);
  if (name == "drivetemp") return sysfs::readInteger(hwmon / "temp1_input");
  return std::nullopt;
}

// Whether the device's listing shows anywhere a kernel sensor could be: a
// disk without one (a virtio disk, most SATA disks without drivetemp) is
// left at that, with no file read.
bool mayHaveSensor(const fs::path& device, sysfs::Listings& listings) {
  const auto& names = listings.entries(device);
  return names && std::any_of(names->begin(), names->end(), [](std::string_view name) {
           return name == "hwmon" || sysfs::numberAfter(name, "hwmon") ||
                  sysfs::numberAfter(name, "nvme");
         });
}

// The disk's kernel temperature sensor hangs below its device: directly
// (NVMe controller) or in an "hwmon" directory (SCSI device). A multipath
// NVMe disk's device is its subsystem, whose nvmeN links lead to the
// controllers.
std::optional<std::int64_t> sensorMilliC(const fs::path& device, bool viaControllers,
                                         sysfs::Listings& listings) {
  const auto& names = listings.entries(device);
  if (!names) return std::nullopt;
  std::vector<fs::path> controllers;
  for (const auto& name : *names) {
    if (sysfs::numberAfter(name, "hwmon")) {
      if (auto milliC = hwmonMilliC(device / name, listings)) return milliC;
    } else if (name == "hwmon") {
      const auto& subs = listings.entries(device / name);
      for (const auto& sub : subs.value_or(std::vector<std::string>{})) {
        if (!sysfs::numberAfter(sub, "hwmon")) continue;
        if (auto milliC = hwmonMilliC(device / name / sub, listings)) return milliC;
      }
    } else if (viaControllers && sysfs::numberAfter(name, "nvme")) {
      controllers.push_back(device / name);
    }
  }
  for (const auto& controller : controllers) {
    if (auto milliC = sensorMilliC(controller, false, listings)) return milliC;
  }
  return std::nullopt;
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

  // A call of smartTables() asks again whether udisks is there only when the
  // last answer is old: on a machine without a system bus, connecting again
  // every few seconds was most of what reading the disks cost. While there is
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
      listings_(rescan),
      udisks_(udisks == UdisksFallback::On ? std::make_unique<Udisks>(rescan) : nullptr) {}

SysfsDisks::~SysfsDisks() = default;

std::optional<std::vector<SmartTable>> SysfsDisks::smartTables() {
  const fs::path blockDir = root_ / "sys/block";
  listings_.newRound();
  const auto& names = listings_.entries(blockDir);
  if (!names) return std::nullopt;
  if (udisks_) udisks_->newRound();

  std::vector<SmartTable> tables;
  for (const auto& name : *names) {
    if (!isDiskName(name)) continue;
    const fs::path disk = blockDir / name;
    if (const auto& inside = listings_.entries(disk);
        inside && std::find(inside->begin(), inside->end(), "partition") != inside->end())
      continue;
    const fs::path device = disk / "device";
    if (!mayHaveSensor(device, listings_) && !(udisks_ && udisks_->usable())) continue;
    // Reading the sensor of a runtime-suspended disk would resume it.
    const auto power = sysfs::readText(device / "power/runtime_status");
    if (power == "suspended" || power == "suspending") continue;

    std::optional<int> celsius;
    if (const auto milliC = sensorMilliC(device, true, listings_))
      celsius = celsiusFromMilli(*milliC);
    if (!celsius && udisks_) celsius = udisks_->celsius(name);
    if (celsius) tables.push_back(temperatureTable(*celsius));
  }
  // A disk gone quiet may have come back under another name.
  if (tables.size() < found_) listings_.forget();
  found_ = tables.size();
  return tables;
}

}  // namespace qv::lnx
