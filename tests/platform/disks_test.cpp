#include <gtest/gtest.h>

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QString>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/linux/sysfs_disks.h"
#include "sysfs_tree.h"
#include "test_processes.h"

namespace qv::lnx {
namespace {

using sysfs_test::machine;
using sysfs_test::SysfsTree;

std::optional<std::vector<int>> temperatures(Disks& disks) {
  const auto read = disks.temperatures();
  if (!read) return std::nullopt;
  std::vector<int> out;
  for (const auto& disk : *read) out.push_back(disk.celsius);
  return out;
}

std::optional<std::vector<int>> temperaturesAt(const std::filesystem::path& root) {
  SysfsDisks disks(root, UdisksFallback::Off);
  return temperatures(disks);
}

TEST(SysfsDisks, OneTemperaturePerDiskWithAKernelSensorTheHottestLast) {
  const struct {
    const char* machine;
    std::vector<int> celsius;
  } cases[] = {
      {"intel-laptop", {36}},     // NVMe Composite 35.85 °C; loop0 skipped
      {"amd-desktop", {33, 41}},  // drivetemp, then multipath NVMe through its controller
      {"acpi-only", {}},          // sda sleeps, the USB disk has no kernel sensor
      {"bare", {}},
      {"broken", {30}},  // unlabelled NVMe temp1; garbage and 0 from drivetemp
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.machine);
    EXPECT_EQ(temperaturesAt(machine(c.machine)), c.celsius);
  }
}

TEST(SysfsDisks, RoundsToWholeDegreesAndDropsImplausibleReadings) {
  const struct {
    const char* milliC;
    std::optional<int> celsius;
  } cases[] = {
      {"33000", 33}, {"33499", 33},  {"33500", 34}, {"500", 1},    {"150000", 150}, {"194000", {}},
      {"400", {}},   {"150001", {}}, {"0", {}},     {"-5000", {}}, {"garbage", {}}, {"", {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string("temp1_input ") + c.milliC);
    SysfsTree tree;
    tree.file("sys/block/sda/device/hwmon/hwmon0/name", "drivetemp");
    tree.file("sys/block/sda/device/hwmon/hwmon0/temp1_input", c.milliC);
    EXPECT_EQ(temperaturesAt(tree.root()),
              c.celsius ? std::vector<int>{*c.celsius} : std::vector<int>{});
  }
}

TEST(SysfsDisks, SkipsVirtualDevicesAndPartitions) {
  SysfsTree tree;
  const auto disk = [&](const std::string& name, const char* milliC) {
    tree.file("sys/block/" + name + "/device/hwmon/hwmon0/name", "drivetemp");
    tree.file("sys/block/" + name + "/device/hwmon/hwmon0/temp1_input", milliC);
  };
  for (const char* name : {"loop0", "ram0", "zram0", "dm-0", "md127", "sr0", "fd0", "nbd0"}) {
    disk(name, "99000");
  }
  disk("sdb1", "98000");
  tree.file("sys/block/sdb1/partition", "1");
  disk("sdb", "50000");
  disk("nvme10n1", "10000");
  disk("nvme2n1", "20000");
  SysfsDisks disks(tree.root(), UdisksFallback::Off);
  const auto read = disks.temperatures();
  ASSERT_TRUE(read);
  std::vector<std::string> names;
  for (const auto& d : *read) names.push_back(d.name);
  EXPECT_EQ(names, (std::vector<std::string>{"nvme10n1", "nvme2n1", "sdb"}));
}

TEST(SysfsDisks, FailsOnlyWhenTheBlockClassCannotBeOpened) {
  SysfsTree tree;
  EXPECT_EQ(temperaturesAt(tree.root()), std::nullopt);
  tree.dir("sys/block");
  EXPECT_EQ(temperaturesAt(tree.root()), std::vector<int>{});
}

TEST(SysfsDisks, FollowsDisksAsTheyComeAndGoAndLeavesSleepingDisksAlone) {
  SysfsTree tree("amd-desktop");
  SysfsDisks disks(tree.root(), UdisksFallback::Off);
  ASSERT_EQ(temperatures(disks), (std::vector<int>{33, 41}));

  const std::string sata =
      "sys/devices/pci0000:00/0000:00:08.2/0000:0c:00.0/ata2/host1/target1:0:0/1:0:0:0";
  tree.file(sata + "/power/runtime_status", "suspended");
  EXPECT_EQ(temperatures(disks), std::vector<int>{41});
  tree.file(sata + "/power/runtime_status", "active");
  EXPECT_EQ(temperatures(disks), (std::vector<int>{33, 41}));

  // The drivetemp module is unloaded; the NVMe sensor returns garbage.
  tree.remove(sata + "/hwmon");
  const std::string nvme = "sys/devices/pci0000:00/0000:00:01.1/0000:01:00.0/nvme/nvme0/hwmon0";
  tree.file(nvme + "/temp1_input", "\xff");
  EXPECT_EQ(temperatures(disks), std::vector<int>{});

  // drivetemp is loaded again: the disk is found at the next reading.
  tree.file(sata + "/hwmon/hwmon3/name", "drivetemp");
  tree.file(sata + "/hwmon/hwmon3/temp1_input", "35000");
  EXPECT_EQ(temperatures(disks), std::vector<int>{35});

  // The NVMe drive is unplugged: its block entry dangles.
  tree.remove("sys/devices/virtual/nvme-subsystem");
  EXPECT_EQ(temperatures(disks), std::vector<int>{35});
}

// Between scans a reading opens each disk's power state and sensor file,
// and lists no directory.
TEST(SysfsDisks, ReadsOnlyEachDisksFilesBetweenScans) {
  SysfsTree tree("amd-desktop");
  SysfsDisks disks(tree.root(), UdisksFallback::Off, std::chrono::hours(1));
  ASSERT_EQ(temperatures(disks), (std::vector<int>{33, 41}));
  tree.remove("sys/block");
  tree.file("sys/devices/pci0000:00/0000:00:01.1/0000:01:00.0/nvme/nvme0/hwmon0/temp1_input",
            "30000");
  EXPECT_EQ(temperatures(disks), (std::vector<int>{30, 33}));
}

TEST(SysfsDisks, AnUnreachableSystemBusMeansNoFallbackTemperatures) {
  SysfsTree tree("acpi-only");
  testenv::ScopedEnv bus("DBUS_SYSTEM_BUS_ADDRESS",
                         "unix:path=" + (tree.root() / "no-bus").string());
  SysfsDisks disks(tree.root());
  EXPECT_EQ(temperatures(disks), std::vector<int>{});
  EXPECT_EQ(temperatures(disks), std::vector<int>{});  // and again, reconnecting
}

// udisks2 mocked by python3-dbusmock on a bus of the test's own, which the
// service finds through DBUS_SYSTEM_BUS_ADDRESS.
class UdisksOnPrivateBus : public ::testing::Test {
 protected:
  void SetUp() override {
    if (const auto missing = testenv::missingBusTools()) GTEST_SKIP() << *missing;
    bus_.emplace();
    address_ = bus_->start();
    ASSERT_FALSE(address_.empty()) << "dbus-daemon gave no address";
    env_.emplace("DBUS_SYSTEM_BUS_ADDRESS", address_);
  }

  void TearDown() override {
    mock_.stop();
    bus_.reset();
    QDBusConnection::disconnectFromBus(QStringLiteral("udisks-test-probe"));
  }

  void startUdisks(const std::string& parameters) {
    ASSERT_TRUE(mock_.start({testenv::kPython, "-m", "dbusmock", "-t",
                             std::string(QUORVANE_TEST_DATA) + "/dbusmock/udisks2.py", "-p",
                             parameters, "-l", callLog().string()}));
    QDBusConnection probe = QDBusConnection::connectToBus(QString::fromStdString(address_),
                                                          QStringLiteral("udisks-test-probe"));
    ASSERT_TRUE(probe.isConnected());
    for (int i = 0; i < 200; ++i) {
      if (probe.interface()->isServiceRegistered(QStringLiteral("org.freedesktop.UDisks2"))) return;
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    FAIL() << "the udisks2 mock did not come up";
  }

  std::filesystem::path callLog() const { return scratch_.root() / "udisks-calls.log"; }

  // The objects udisks was asked about so far.
  std::string calls() const {
    std::ifstream in(callLog());
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  SysfsTree scratch_;
  std::string address_;
  std::optional<testenv::ScopedEnv> env_;
  std::optional<testenv::PrivateBus> bus_;
  testenv::Child mock_;
};

TEST_F(UdisksOnPrivateBus, FillsInDisksWithoutAKernelSensorButNotSleepingOnes) {
  SysfsDisks acpiOnly(machine("acpi-only"), UdisksFallback::On, std::chrono::milliseconds(0));
  SysfsDisks rechecksHourly(machine("acpi-only"), UdisksFallback::On, std::chrono::hours(1));
  EXPECT_EQ(temperatures(acpiOnly), std::vector<int>{}) << "udisks is not running yet";
  EXPECT_EQ(temperatures(rechecksHourly), std::vector<int>{});

  ASSERT_NO_FATAL_FAILURE(startUdisks(
      R"({"disks": {"sda": 320.15, "sdb": 311.15, "sdc": 0.0, "sdd": null, "sde": 400.0}})"));

  // Until its next check, a reader that found no udisks does not ask.
  EXPECT_EQ(temperatures(rechecksHourly), std::vector<int>{});
  EXPECT_EQ(calls().find("block_devices/"), std::string::npos);

  // sda sleeps: udisks knows its temperature, but it is not asked.
  EXPECT_EQ(temperatures(acpiOnly), std::vector<int>{38});
  EXPECT_NE(calls().find("block_devices/sdb "), std::string::npos);
  EXPECT_EQ(calls().find("block_devices/sda "), std::string::npos);
  SysfsDisks acpiOnlyWithoutUdisks(machine("acpi-only"), UdisksFallback::Off);
  EXPECT_EQ(temperatures(acpiOnlyWithoutUdisks), std::vector<int>{});

  // Kernel sensors that give no usable reading fall back too.
  SysfsDisks broken(machine("broken"));
  EXPECT_EQ(temperatures(broken), (std::vector<int>{30, 38, 47}));

  // 0 K (unknown), no drive, unknown to udisks: nothing. 400 K: 127 °C.
  SysfsTree tree;
  for (const char* name : {"sdc", "sdd", "sde", "sdf"}) {
    tree.file(std::string("sys/block/") + name + "/device/power/runtime_status", "active");
  }
  SysfsDisks others(tree.root());
  EXPECT_EQ(temperatures(others), std::vector<int>{127});
}

}  // namespace
}  // namespace qv::lnx
