#pragma once
#include <filesystem>
#include <string>

#include "platform/linux/sysfs_disks.h"

namespace qv::lnx {

// What `quorvane --sensors` prints: every temperature sensor found below
// root, the ones read for the CPU and the disk marked, why they were chosen,
// and the rules of the choice. Meant to be pasted into a bug report.
std::string sensorReport(const std::filesystem::path& root, UdisksFallback udisks);

}  // namespace qv::lnx
