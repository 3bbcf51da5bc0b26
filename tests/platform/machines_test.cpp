// The machines people have: sensor trees copied from public reports and the
// kernel's documentation (each fixture's README names its source), one row
// each with what a user would call its CPU temperature and the disk to watch.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/linux/sysfs_disks.h"
#include "platform/linux/sysfs_thermal.h"
#include "sysfs_tree.h"

namespace qv::lnx {
namespace {

using sysfs_test::machine;

TEST(Machines, ReadTheCpuSensorAndTheHottestDiskLast) {
  const struct {
    const char* machine;
    const char* cpuSensor;  // empty: none, the program shows 0 and "无"
    double cpu;
    std::vector<std::string> disks;  // in the order handed over, the shown one last
    int disk;
  } rows[] = {
      {"intel-desktop-comet-lake", "coretemp/Package id 0", 50.0, {"sda", "nvme0n1"}, 46},
      {"acer-nitro-an517-laptop", "coretemp/Package id 0", 45.0, {}, 0},
      {"dual-xeon-physical-id", "coretemp/Physical id 1", 42.0, {}, 0},
      {"atom-d525", "coretemp/Core 0", 54.0, {}, 0},
      {"amd-apu-k10temp-unlabelled", "k10temp/temp1", 46.5, {}, 0},
      {"threadripper-kernel-without-labels", "k10temp/temp1", 51.6, {}, 0},
      {"ryzen-tdie-tctl-offset", "k10temp/Tdie", 31.4, {}, 0},
      {"ryzen-5700u-laptop", "k10temp/Tctl", 52.9, {"nvme1n1", "nvme0n1"}, 70},
      {"ryzen-3950x-zenpower", "zenpower/Tdie", 65.8, {}, 0},
      {"athlon64-k8temp", "k8temp/temp4", 37.0, {}, 0},
      {"raspberry-pi-4", "cpu-thermal", 56.5, {}, 0},
      {"raspberry-pi-5-nvme", "cpu-thermal", 52.2, {"nvme0n1"}, 33},
      {"rk3588-big-little", "littlecore-thermal", 36.1, {"nvme0n1"}, 41},
      {"rockpro64-vendor-kernel", "soc-thermal", 31.1, {}, 0},
      {"jetson-nano", "CPU-therm", 39.0, {}, 0},
      {"nas-five-sata-drivetemp", "", 0, {"sdb", "sdc", "sdd", "sde", "sda"}, 28},
      {"kernel-5.10-two-nvme", "acpitz", 27.8, {"nvme0n1", "nvme1n1"}, 39},
      {"nvme-multipath-namespaces", "", 0, {"nvme0n1", "nvme6n1"}, 42},
      {"virtual-machine", "", 0, {}, 0},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.machine);
    const auto zones = SysfsThermal(machine(row.machine)).zones();
    ASSERT_TRUE(zones);
    if (*row.cpuSensor == '\0') {
      EXPECT_TRUE(zones->empty());
    } else {
      ASSERT_FALSE(zones->empty());
      EXPECT_EQ(zones->back().name, row.cpuSensor);
      EXPECT_EQ(zones->back().current, static_cast<int>(row.cpu * 10 + 2732.5));
    }

    const auto disks = SysfsDisks(machine(row.machine), UdisksFallback::Off).temperatures();
    ASSERT_TRUE(disks);
    std::vector<std::string> names;
    for (const auto& d : *disks) names.push_back(d.name);
    EXPECT_EQ(names, row.disks);
    EXPECT_EQ(disks->empty() ? 0 : disks->back().celsius, row.disk);
  }
}

}  // namespace
}  // namespace qv::lnx
