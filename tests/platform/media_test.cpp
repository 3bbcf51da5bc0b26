#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <iterator>
#include <memory>
#include <regex>
#include <string>
#include <vector>

#include "platform/linux/linux_media.h"
#include "sysfs_tree.h"
#include "test_processes.h"

namespace qv::lnx {
namespace {

using testenv::Child;
using testenv::ScopedEnv;

constexpr const char* kOpenDoor = "set CDAudio door open";
constexpr const char* kDrives = "/org/freedesktop/UDisks2/drives/";

// udisks2 mocked on a system bus of the test's own. The CD-ROM device the
// service falls back to is a path in the test's scratch folder, never the
// machine's /dev/sr0.
class EjectOnPrivateBus : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!testenv::haveDbusmock()) GTEST_SKIP() << "python3-dbusmock is not installed";
    if (bus_.start().empty()) GTEST_SKIP() << "dbus-daemon is not available";
    env_.emplace_back(std::make_unique<ScopedEnv>("DBUS_SYSTEM_BUS_ADDRESS", bus_.address()));
    env_.emplace_back(std::make_unique<ScopedEnv>("QUORVANE_DRY_RUN", std::nullopt));
  }

  void startUdisks(const std::string& parameters) {
    mock_.stop();
    ASSERT_TRUE(bus_.waitForName(QStringLiteral("org.freedesktop.UDisks2"), false));
    ASSERT_TRUE(mock_.start({testenv::kPython, "-m", "dbusmock", "-t",
                             std::string(QUORVANE_TEST_DATA) + "/dbusmock/udisks2.py", "-p",
                             parameters, "-l", log()}));
    ASSERT_TRUE(testenv::onlyPrivateBus(bus_, "DBUS_SYSTEM_BUS_ADDRESS",
                                        QStringLiteral("org.freedesktop.UDisks2")));
  }

  std::string device() const { return (scratch_.root() / "sr0").string(); }
  std::string log() const { return (scratch_.root() / "udisks-calls.log").string(); }

  // The drives udisks ejected, in order.
  std::vector<std::string> ejected() const {
    std::ifstream in(log());
    const std::string calls(std::istreambuf_iterator<char>(in), {});
    std::vector<std::string> drives;
    const std::regex line(" Ejected " + std::string(kDrives) + "(\\S+)");
    for (std::sregex_iterator it(calls.begin(), calls.end(), line), end; it != end; ++it) {
      drives.push_back((*it)[1]);
    }
    return drives;
  }

  sysfs_test::SysfsTree scratch_;
  testenv::PrivateBus bus_;
  Child mock_;
  std::vector<std::unique_ptr<ScopedEnv>> env_;
};

TEST_F(EjectOnPrivateBus, EjectsTheFirstOpticalDriveOnly) {
  const struct {
    const char* what;
    std::string drives;  // the template's "drives"
    bool result;
    std::vector<std::string> ejected;
  } cases[] = {
      {"a DVD writer beside a disk and a card reader",
       R"({"a_card": {"MediaCompatibility": ["flash_sd"], "MediaRemovable": true},
           "b_dvd": {"MediaCompatibility": ["optical_cd", "optical_dvd_r"],
                     "MediaRemovable": true}})",
       true,
       {"b_dvd"}},
      {"a drive known as optical by its inserted disc",
       R"({"a_usb": {"MediaRemovable": true}, "b_cd": {"Optical": true}})",
       true,
       {"b_cd"}},
      {"two optical drives",
       R"({"cd1": {"MediaCompatibility": ["optical_cd"]},
                                 "cd2": {"MediaCompatibility": ["optical_cd"]}})",
       true,
       {"cd1"}},
      {"udisks cannot eject it",
       R"({"cd": {"MediaCompatibility": ["optical_cd"], "EjectFails": true}})",
       false,
       {}},
      {"removable media that are not optical", R"({"card": {"MediaRemovable": true}})", false, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_NO_FATAL_FAILURE(
        startUdisks(R"({"disks": {"sda": 310.0}, "drives": )" + c.drives + "}"));
    testing::internal::CaptureStderr();
    LinuxMedia media(device());
    EXPECT_TRUE(media.send(kOpenDoor));
    EXPECT_EQ(media.finish(), c.result);
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(ejected(), c.ejected);
    EXPECT_EQ(err.empty(), c.result) << err;
  }
}

TEST_F(EjectOnPrivateBus, NoOpticalDriveAnywhereIsAFailure) {
  ASSERT_NO_FATAL_FAILURE(startUdisks(R"({"disks": {"sda": 310.0}})"));
  // No device node, and a file that is no CD-ROM (the eject request fails).
  for (const bool exists : {false, true}) {
    SCOPED_TRACE(exists ? "not a CD-ROM" : "no device");
    if (exists) std::ofstream(device()) << "x";
    testing::internal::CaptureStderr();
    LinuxMedia media(device());
    EXPECT_TRUE(media.send(kOpenDoor));
    EXPECT_FALSE(media.finish());
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
  }
  EXPECT_EQ(ejected(), std::vector<std::string>{});

  // Without udisks at all.
  mock_.stop();
  testing::internal::CaptureStderr();
  EXPECT_FALSE(LinuxMedia(device()).eject());
  testing::internal::GetCapturedStderr();
}

// A tray takes seconds to open: the request returns at once and the drive
// opens on a thread of its own; a second request meanwhile is the same one.
TEST_F(EjectOnPrivateBus, TheRequestReturnsAtOnceAndTheDriveOpensMeanwhile) {
  ASSERT_NO_FATAL_FAILURE(startUdisks(
      R"({"drives": {"cd": {"MediaCompatibility": ["optical_cd"], "EjectSeconds": 1.5}}})"));
  using Clock = std::chrono::steady_clock;
  LinuxMedia media(device());
  const auto start = Clock::now();
  EXPECT_TRUE(media.send(kOpenDoor));
  EXPECT_TRUE(media.send(kOpenDoor));
  EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(500));
  EXPECT_TRUE(media.finish());
  EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(1500));
  EXPECT_EQ(ejected(), std::vector<std::string>{"cd"});
}

TEST_F(EjectOnPrivateBus, OtherCommandsAndDryRunsEjectNothing) {
  ASSERT_NO_FATAL_FAILURE(
      startUdisks(R"({"drives": {"cd": {"MediaCompatibility": ["optical_cd"]}}})"));
  for (const char* command :
       {"set CDAudio door closed", "SET CDAUDIO DOOR OPEN", "set CDAudio door open ", ""}) {
    SCOPED_TRACE(command);
    testing::internal::CaptureStderr();
    EXPECT_FALSE(LinuxMedia(device()).send(command));
    testing::internal::GetCapturedStderr();
  }
  ScopedEnv dry("QUORVANE_DRY_RUN", "1");
  testing::internal::CaptureStderr();
  EXPECT_TRUE(LinuxMedia(device()).send(kOpenDoor));
  EXPECT_NE(testing::internal::GetCapturedStderr().find("dry run"), std::string::npos);
  EXPECT_EQ(ejected(), std::vector<std::string>{});
}

}  // namespace
}  // namespace qv::lnx
