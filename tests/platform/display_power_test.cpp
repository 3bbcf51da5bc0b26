#include <gtest/gtest.h>
#include <xcb/dpms.h>
#include <xcb/xcb.h>

#include <QDBusMessage>
#include <QDBusVariant>
#include <QStandardPaths>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <ostream>
#include <string>

#include "platform/linux/linux_display_power.h"
#include "sysfs_tree.h"
#include "test_processes.h"

namespace qv::lnx {
namespace {

using testenv::Child;
using testenv::ScopedEnv;

struct DpmsState {
  bool enabled = false;
  int level = -1;
  int standby = -1, suspend = -1, off = -1;
  bool operator==(const DpmsState&) const = default;
};

void PrintTo(const DpmsState& s, std::ostream* out) {
  *out << (s.enabled ? "enabled" : "disabled") << ", level " << s.level << ", timeouts "
       << s.standby << "/" << s.suspend << "/" << s.off;
}

// The display's DPMS state as the server has it, asked on a connection of
// the test's own.
class XClient {
 public:
  explicit XClient(const std::string& display) : c_(xcb_connect(display.c_str(), nullptr)) {}
  ~XClient() { xcb_disconnect(c_); }
  XClient(const XClient&) = delete;
  XClient& operator=(const XClient&) = delete;

  bool ok() const { return !xcb_connection_has_error(c_); }
  bool hasDpms() {
    const xcb_query_extension_reply_t* dpms = xcb_get_extension_data(c_, &xcb_dpms_id);
    return dpms && dpms->present;
  }

  DpmsState state() {
    DpmsState s;
    std::unique_ptr<xcb_dpms_info_reply_t, decltype(&std::free)> info(
        xcb_dpms_info_reply(c_, xcb_dpms_info(c_), nullptr), &std::free);
    std::unique_ptr<xcb_dpms_get_timeouts_reply_t, decltype(&std::free)> timeouts(
        xcb_dpms_get_timeouts_reply(c_, xcb_dpms_get_timeouts(c_), nullptr), &std::free);
    if (!info || !timeouts) return s;
    s.enabled = info->state;
    s.level = info->power_level;
    s.standby = timeouts->standby_timeout;
    s.suspend = timeouts->suspend_timeout;
    s.off = timeouts->off_timeout;
    return s;
  }

  // DPMS on or off, with 10-minute idle timeouts, the monitor on.
  void reset(bool enabled) {
    xcb_dpms_enable(c_);
    xcb_dpms_force_level(c_, XCB_DPMS_DPMS_MODE_ON);
    xcb_dpms_set_timeouts(c_, 600, 600, 600);
    if (!enabled) xcb_dpms_disable(c_);
    free(xcb_get_input_focus_reply(c_, xcb_get_input_focus(c_), nullptr));  // round trip
  }

 private:
  xcb_connection_t* c_;
};

// An X server of the test's own; DISPLAY names it while the test runs.
class XServer : public ::testing::Test {
 protected:
  void start(const std::vector<std::string>& command) {
    const std::string number = testenv::firstLine(server_, command);
    ASSERT_FALSE(number.empty()) << command.front() << " did not start";
    display_ = ":" + number;
    env_.emplace_back(std::make_unique<ScopedEnv>("DISPLAY", display_));
    env_.emplace_back(std::make_unique<ScopedEnv>("WAYLAND_DISPLAY", std::nullopt));
    env_.emplace_back(std::make_unique<ScopedEnv>("XDG_SESSION_TYPE", "x11"));
    env_.emplace_back(std::make_unique<ScopedEnv>("QUORVANE_DRY_RUN", std::nullopt));
  }

  // The monitor goes off; DPMS ends up enabled, and idle blanking stays as
  // it was: with the timeouts it had, or none when DPMS had been off.
  void expectMonitorOff() {
    XClient x(display_);
    ASSERT_TRUE(x.ok());
    const struct {
      bool enabledBefore;
      DpmsState after;
    } cases[] = {
        {true, {true, XCB_DPMS_DPMS_MODE_OFF, 600, 600, 600}},
        {false, {true, XCB_DPMS_DPMS_MODE_OFF, 0, 0, 0}},
    };
    for (const auto& c : cases) {
      SCOPED_TRACE(c.enabledBefore ? "DPMS enabled" : "DPMS disabled");
      x.reset(c.enabledBefore);
      ASSERT_EQ(x.state(), (DpmsState{c.enabledBefore, XCB_DPMS_DPMS_MODE_ON, 600, 600, 600}));
      EXPECT_TRUE(LinuxDisplayPower().displayOff());
      EXPECT_EQ(x.state(), c.after);
    }
  }

  Child server_;
  std::string display_;
  std::vector<std::unique_ptr<ScopedEnv>> env_;
};

// Xvfb has no DPMS extension (as of X.Org 21.1): there switching the display
// off must fail cleanly. Should a later one have it, the monitor must go off.
TEST_F(XServer, OnXvfb) {
  const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
  if (xvfb.isEmpty()) GTEST_SKIP() << "Xvfb is not installed";
  ASSERT_NO_FATAL_FAILURE(start({xvfb.toStdString(), "-displayfd", "1", "-nolisten", "tcp",
                                 "-screen", "0", "320x240x24", "+extension", "DPMS"}));
  XClient x(display_);
  ASSERT_TRUE(x.ok());
  if (x.hasDpms()) {
    expectMonitorOff();
    return;
  }
  testing::internal::CaptureStderr();
  EXPECT_FALSE(LinuxDisplayPower().displayOff());
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find("no DPMS"), std::string::npos) << err;
}

TEST_F(XServer, OnADisplayWithDpms) {
  if (!testenv::havePython()) GTEST_SKIP() << "the DPMS display needs /usr/bin/python3";
  ASSERT_NO_FATAL_FAILURE(
      start({testenv::kPython, std::string(QUORVANE_TEST_DATA) + "/fake_x_dpms.py"}));
  expectMonitorOff();
}

TEST_F(XServer, ADryRunOrAMissingDisplayLeavesTheMonitorOn) {
  if (!testenv::havePython()) GTEST_SKIP() << "the DPMS display needs /usr/bin/python3";
  ASSERT_NO_FATAL_FAILURE(
      start({testenv::kPython, std::string(QUORVANE_TEST_DATA) + "/fake_x_dpms.py"}));
  XClient x(display_);
  ASSERT_TRUE(x.ok());
  x.reset(true);
  {
    ScopedEnv dry("QUORVANE_DRY_RUN", "1");
    testing::internal::CaptureStderr();
    EXPECT_TRUE(LinuxDisplayPower().displayOff());
    EXPECT_NE(testing::internal::GetCapturedStderr().find("dry run"), std::string::npos);
  }
  for (const char* display : {"", ":54321"}) {
    SCOPED_TRACE(display);
    ScopedEnv other("DISPLAY", display);
    testing::internal::CaptureStderr();
    EXPECT_FALSE(LinuxDisplayPower().displayOff());
    EXPECT_NE(testing::internal::GetCapturedStderr(), "");
  }
  EXPECT_EQ(x.state().level, XCB_DPMS_DPMS_MODE_ON);
}

// Wayland desktops mocked by python3-dbusmock on a session bus of the test's
// own. An X display is named too, and must not be used.
class WaylandSession : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!testenv::haveDbusmock()) GTEST_SKIP() << "python3-dbusmock is not installed";
    if (bus_.start().empty()) GTEST_SKIP() << "dbus-daemon is not available";
    env_.emplace_back(std::make_unique<ScopedEnv>("DBUS_SESSION_BUS_ADDRESS", bus_.address()));
    env_.emplace_back(std::make_unique<ScopedEnv>("XDG_SESSION_TYPE", "wayland"));
    env_.emplace_back(std::make_unique<ScopedEnv>("WAYLAND_DISPLAY", "wayland-test"));
    env_.emplace_back(std::make_unique<ScopedEnv>("DISPLAY", ":54321"));
    env_.emplace_back(std::make_unique<ScopedEnv>("QUORVANE_DRY_RUN", std::nullopt));
  }

  // Serves `object` of `service` with `interface`, its calls logged.
  void mock(const char* service, const char* object, const char* interface) {
    ASSERT_TRUE(mock_.start({testenv::kPython, "-m", "dbusmock", "--session", service, object,
                             interface, "-l", log()}));
    ASSERT_TRUE(testenv::onlyPrivateBus(bus_, "DBUS_SESSION_BUS_ADDRESS", service));
  }

  QDBusMessage call(const char* service, const char* object, const char* interface,
                    const char* method, const QVariantList& args) {
    QDBusMessage m = QDBusMessage::createMethodCall(service, object, interface, method);
    m.setArguments(args);
    return bus_.probe().call(m, QDBus::Block, 5000);
  }

  std::string log() const { return (scratch_.root() / "calls.log").string(); }

  sysfs_test::SysfsTree scratch_;
  testenv::PrivateBus bus_;
  Child mock_;
  std::vector<std::unique_ptr<ScopedEnv>> env_;
};

TEST_F(WaylandSession, AsksMutterForPowerSaveModeOff) {
  const char* mutter = "org.gnome.Mutter.DisplayConfig";
  const char* path = "/org/gnome/Mutter/DisplayConfig";
  ASSERT_NO_FATAL_FAILURE(mock(mutter, path, mutter));
  ASSERT_EQ(
      call(mutter, path, "org.freedesktop.DBus.Mock", "AddProperty",
           {QString(mutter), QStringLiteral("PowerSaveMode"), QVariant::fromValue(QDBusVariant(0))})
          .type(),
      QDBusMessage::ReplyMessage);

  EXPECT_TRUE(LinuxDisplayPower().displayOff());
  const QDBusMessage mode = call(mutter, path, "org.freedesktop.DBus.Properties", "Get",
                                 {QString(mutter), QStringLiteral("PowerSaveMode")});
  const QVariant value = mode.arguments().value(0).value<QDBusVariant>().variant();
  EXPECT_EQ(value.typeId(), QMetaType::Int) << "PowerSaveMode is an int32";
  EXPECT_EQ(value.toInt(), 3);
}

TEST_F(WaylandSession, InvokesKdesTurnOffScreenShortcut) {
  const char* service = "org.kde.kglobalaccel";
  const char* path = "/component/org_kde_powerdevil";
  const char* component = "org.kde.kglobalaccel.Component";
  ASSERT_NO_FATAL_FAILURE(mock(service, path, component));
  ASSERT_EQ(call(service, path, "org.freedesktop.DBus.Mock", "AddMethod",
                 {QString(component), QStringLiteral("invokeShortcut"), QStringLiteral("s"),
                  QString(), QString()})
                .type(),
            QDBusMessage::ReplyMessage);

  EXPECT_TRUE(LinuxDisplayPower().displayOff());
  std::ifstream in(log());
  const std::string calls(std::istreambuf_iterator<char>(in), {});
  EXPECT_NE(calls.find("invokeShortcut \"Turn Off Screen\""), std::string::npos) << calls;
}

TEST_F(WaylandSession, FailsWhenTheDesktopHasNoWay) {
  testing::internal::CaptureStderr();
  EXPECT_FALSE(LinuxDisplayPower().displayOff());
  EXPECT_NE(testing::internal::GetCapturedStderr(), "");
}

}  // namespace
}  // namespace qv::lnx
