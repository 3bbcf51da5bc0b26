// The power service and the power lines of the process service, against
// python3-dbusmock's logind on a bus of the test's own. Each fixture checks
// that the logind it reaches is that mock before any power action is asked
// for: a real logind must never be reached from here.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/linux/linux_process.h"
#include "platform/linux/logind_power.h"
#include "sysfs_tree.h"
#include "test_processes.h"

namespace qv::lnx {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using Calls = std::vector<std::string>;

const QString kLogind = QStringLiteral("org.freedesktop.login1");
const QString kPath = QStringLiteral("/org/freedesktop/login1");
const QString kManager = QStringLiteral("org.freedesktop.login1.Manager");
const QString kMock = QStringLiteral("org.freedesktop.DBus.Mock");
const QString kProbe = QStringLiteral("logind-test-probe");

std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> out;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) out.push_back(line);
  return out;
}

class LogindOnPrivateBus : public ::testing::Test {
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
    env_.reset();
    QDBusConnection::disconnectFromBus(kProbe);
  }

  // Starts the logind mock and makes sure that it, on the private bus, is
  // what the services will reach.
  void startLogind(const std::string& parameters = "{}") {
    ASSERT_TRUE(mock_.start({testenv::kPython, "-m", "dbusmock", "--system", "--template", "logind",
                             "-p", parameters, "-l", log().string()}));
    QDBusConnection bus = probe();
    ASSERT_TRUE(bus.isConnected());
    bool up = false;
    for (int i = 0; i < 200 && !up; ++i) {
      up = bus.interface()->isServiceRegistered(kLogind);
      if (!up) std::this_thread::sleep_for(25ms);
    }
    ASSERT_TRUE(up) << "the logind mock did not come up";
    ASSERT_EQ(qEnvironmentVariable("DBUS_SYSTEM_BUS_ADDRESS").toStdString(), address_);
    const QDBusMessage xml = bus.call(QDBusMessage::createMethodCall(
        kLogind, kPath, QStringLiteral("org.freedesktop.DBus.Introspectable"),
        QStringLiteral("Introspect")));
    ASSERT_TRUE(xml.arguments().value(0).toString().contains(
        QStringLiteral("<interface name=\"%1\">").arg(kMock)))
        << "what answers as logind is not the mock";
  }

  QDBusConnection probe() {
    return QDBusConnection::connectToBus(QString::fromStdString(address_), kProbe);
  }

  void mockCall(const QString& method, const QVariantList& arguments) {
    QDBusMessage call = QDBusMessage::createMethodCall(kLogind, kPath, kMock, method);
    call.setArguments(arguments);
    const QDBusMessage reply = probe().call(call);
    ASSERT_EQ(reply.type(), QDBusMessage::ReplyMessage) << reply.errorMessage().toStdString();
  }

  // Makes logind's `method` run `code`.
  void answer(const QString& method, const QString& in, const QString& out, const QString& code) {
    mockCall(QStringLiteral("AddMethod"), {kManager, method, in, out, code});
  }

  void emitPrepareForSleep(bool sleeping) {
    mockCall(QStringLiteral("EmitSignal"),
             {kManager, QStringLiteral("PrepareForSleep"), QStringLiteral("b"),
              QVariantList{QVariant::fromValue(QDBusVariant(sleeping))}});
  }

  std::filesystem::path log() const { return scratch_.root() / "logind-calls.log"; }

  std::string logText() const {
    std::ifstream in(log());
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  // Waits, on any thread, until logind has been asked to suspend after the
  // last look at the calls.
  bool awaitSuspendRequest(std::size_t seen) const {
    for (int i = 0; i < 500; ++i) {
      const std::string text = logText();
      if (text.find(" Suspend False\n", std::min(seen, text.size())) != std::string::npos) {
        return true;
      }
      std::this_thread::sleep_for(10ms);
    }
    return false;
  }

  // The calls logind received since the last look, without their times.
  Calls takeCalls() {
    const std::string text = logText();
    Calls calls;
    for (const auto& line : lines(text.substr(std::min(seen_, text.size())))) {
      const std::string call = line.substr(line.find(' ') + 1);
      if (call.rfind("emit ", 0) != 0 && call.find(" raised: ") == std::string::npos) {
        calls.push_back(call);
      }
    }
    seen_ = text.size();
    return calls;
  }

  testenv::ScopedEnv carryOut_{"QUORVANE_DRY_RUN", "0"};
  sysfs_test::SysfsTree scratch_;
  std::string address_;
  std::optional<testenv::ScopedEnv> env_;
  std::optional<testenv::PrivateBus> bus_;
  testenv::Child mock_;
  std::size_t seen_ = 0;
};

// Bounds short enough for tests; no test here lets logind announce a sleep
// unless it means to.
LogindPower testPower() {
  return LogindPower(300ms, 2s);
}

struct Action {
  const char* name;
  std::function<bool(Power&)> run;
};

const Action kPowerOff{"powerOff", [](Power& p) { return p.powerOff(); }};
const Action kRestart{"restart", [](Power& p) { return p.restart(); }};
const Action kRestartNow{"restartNow", [](Power& p) { return p.restartNow(); }};
const Action kSuspend{"suspend", [](Power& p) { return p.suspend(); }};

TEST_F(LogindOnPrivateBus, EachActionAsksFirstAndReachesLogindNonInteractively) {
  ASSERT_NO_FATAL_FAILURE(startLogind());
  const struct {
    Action action;
    Calls calls;
  } cases[] = {
      {kPowerOff, {"CanPowerOff", "PowerOff False"}},
      {kRestart, {"CanReboot", "Reboot False"}},
      {kRestartNow, {"CanReboot", "Reboot False"}},
      {kSuspend, {"CanSuspend", "Suspend False"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.action.name);
    LogindPower power = testPower();
    EXPECT_TRUE(c.action.run(power));
    EXPECT_EQ(takeCalls(), c.calls);
  }
}

// "challenge": polkit wants the user's password, which only an interactive
// request lets the desktop's agent ask for.
TEST_F(LogindOnPrivateBus, OnlyYesOrChallengeGoesAheadChallengeInteractivelyAndARefusalSaysWhy) {
  ASSERT_NO_FATAL_FAILURE(startLogind());
  const struct {
    Action action;
    const char* can;
    const char* method;
    const char* what;
  } actions[] = {
      {kPowerOff, "CanPowerOff", "PowerOff", "power off"},
      {kRestart, "CanReboot", "Reboot", "restart"},
      {kSuspend, "CanSuspend", "Suspend", "suspend"},
  };
  for (const auto& a : actions) {
    for (const std::string verdict : {"yes", "challenge", "na", "no", "maybe", ""}) {
      SCOPED_TRACE(std::string(a.action.name) + " after " + a.can + " \"" + verdict + "\"");
      ASSERT_NO_FATAL_FAILURE(answer(QString::fromLatin1(a.can), QString(), QStringLiteral("s"),
                                     QStringLiteral("ret = '%1'").arg(verdict.c_str())));
      const bool allowed = verdict == "yes" || verdict == "challenge";
      LogindPower power = testPower();
      ::testing::internal::CaptureStderr();
      EXPECT_EQ(a.action.run(power), allowed);
      const std::string err = ::testing::internal::GetCapturedStderr();
      const Calls asked{a.can};
      const Calls acted{a.can,
                        std::string(a.method) + (verdict == "challenge" ? " True" : " False")};
      EXPECT_EQ(takeCalls(), allowed ? acted : asked);
      if (!allowed) {
        EXPECT_EQ(err, "quorvane: " + std::string(a.what) + " refused: " + a.can + " answered \"" +
                           verdict + "\"\n");
      }
    }
  }
}

TEST_F(LogindOnPrivateBus, ABusErrorIsAFailureOnOneLine) {
  // The bus is up but nothing owns logind's name.
  ASSERT_EQ(qEnvironmentVariable("DBUS_SYSTEM_BUS_ADDRESS").toStdString(), address_);
  ASSERT_TRUE(probe().isConnected());
  ASSERT_FALSE(probe().interface()->isServiceRegistered(kLogind).value());
  for (const Action& action : {kPowerOff, kRestart, kRestartNow, kSuspend}) {
    SCOPED_TRACE(action.name);
    LogindPower power = testPower();
    ::testing::internal::CaptureStderr();
    EXPECT_FALSE(action.run(power));
    const auto err = lines(::testing::internal::GetCapturedStderr());
    ASSERT_EQ(err.size(), 1u);
    EXPECT_NE(err[0].find("failed: Can"), std::string::npos) << err[0];
    EXPECT_NE(err[0].find("org.freedesktop.DBus.Error.ServiceUnknown"), std::string::npos);
  }

  // logind allows the action but then fails it (a polkit refusal, an inhibitor).
  ASSERT_NO_FATAL_FAILURE(startLogind());
  for (const char* method : {"PowerOff", "Reboot", "Suspend"}) {
    ASSERT_NO_FATAL_FAILURE(answer(
        QString::fromLatin1(method), QStringLiteral("b"), QString(),
        QStringLiteral(
            "raise dbus.exceptions.DBusException('no', name='org.freedesktop.login1.Refused')")));
  }
  for (const Action& action : {kPowerOff, kRestart, kRestartNow, kSuspend}) {
    SCOPED_TRACE(action.name);
    LogindPower power = testPower();
    ::testing::internal::CaptureStderr();
    EXPECT_FALSE(action.run(power));
    const auto err = lines(::testing::internal::GetCapturedStderr());
    ASSERT_EQ(err.size(), 1u);
    EXPECT_NE(err[0].find("org.freedesktop.login1.Refused"), std::string::npos) << err[0];
  }
}

TEST(LogindPower, WithoutASystemBusEveryActionFailsAtOnce) {
  sysfs_test::SysfsTree scratch;
  testenv::ScopedEnv carryOut("QUORVANE_DRY_RUN", "0");
  testenv::ScopedEnv bus("DBUS_SYSTEM_BUS_ADDRESS",
                         "unix:path=" + (scratch.root() / "no-bus").string());
  LogindPower power = testPower();
  const auto start = Clock::now();
  for (const Action& action : {kPowerOff, kRestart, kRestartNow, kSuspend}) {
    SCOPED_TRACE(action.name);
    ::testing::internal::CaptureStderr();
    EXPECT_FALSE(action.run(power));
    const auto err = lines(::testing::internal::GetCapturedStderr());
    ASSERT_EQ(err.size(), 1u);
    EXPECT_NE(err[0].find("failed: no system bus"), std::string::npos) << err[0];
  }
  EXPECT_LT(Clock::now() - start, 1s);
}

TEST_F(LogindOnPrivateBus, SuspendReturnsOnlyAfterTheResumeAndRunsNoEventsMeanwhile) {
  ASSERT_NO_FATAL_FAILURE(startLogind());
  std::atomic<bool> requested = false;
  Clock::time_point resumeSent;
  std::thread logind([&, seen = seen_] {
    requested = awaitSuspendRequest(seen);
    if (!requested) return;
    std::this_thread::sleep_for(100ms);
    emitPrepareForSleep(true);
    std::this_thread::sleep_for(400ms);
    resumeSent = Clock::now();
    emitPrepareForSleep(false);
  });

  bool timerRan = false;
  QTimer::singleShot(0, [&] { timerRan = true; });
  LogindPower power(2s, 5s);
  const bool accepted = power.suspend();
  const auto returned = Clock::now();
  const bool timerRanDuringSuspend = timerRan;
  logind.join();

  ASSERT_TRUE(requested);
  EXPECT_TRUE(accepted);
  EXPECT_GE(returned, resumeSent) << "returned before the resume";
  EXPECT_LT(returned - resumeSent, 1s) << "did not return at the resume";
  EXPECT_FALSE(timerRanDuringSuspend) << "the caller's events ran while it waited";
  QCoreApplication::processEvents();
  EXPECT_TRUE(timerRan);
}

TEST_F(LogindOnPrivateBus, SuspendGivesUpAfterItsBounds) {
  ASSERT_NO_FATAL_FAILURE(startLogind());
  const struct {
    const char* name;
    bool announceSleep;
    std::chrono::milliseconds sleepBound, awakeBound;
    const char* note;
  } cases[] = {
      {"no sleep announced", false, 300ms, 5s, "did not announce sleep within 300 ms"},
      {"no resume announced", true, 5s, 500ms, "no resume announced within 500 ms"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::thread logind([&, seen = seen_] {
      if (!c.announceSleep) return;
      ASSERT_TRUE(awaitSuspendRequest(seen));
      emitPrepareForSleep(true);
    });
    LogindPower power(c.sleepBound, c.awakeBound);
    const auto start = Clock::now();
    ::testing::internal::CaptureStderr();
    EXPECT_TRUE(power.suspend());
    const auto took = Clock::now() - start;
    const auto err = lines(::testing::internal::GetCapturedStderr());
    logind.join();
    EXPECT_GE(took, std::min(c.sleepBound, c.awakeBound));
    EXPECT_LT(took, 2s);
    ASSERT_EQ(err.size(), 1u);
    EXPECT_NE(err[0].find(c.note), std::string::npos) << err[0];
    EXPECT_EQ(takeCalls(), (Calls{"CanSuspend", "Suspend False"}));
  }
}

TEST_F(LogindOnPrivateBus, OnlyTheFourPowerLinesReachLogindAndTheRestGoElsewhere) {
  ASSERT_NO_FATAL_FAILURE(startLogind());
  const struct {
    const char* line;
    Calls calls;
  } cases[] = {
      {"shutdown -s -t 0 -f", {"CanPowerOff", "PowerOff False"}},
      {"shutdown -s -f -t 0", {"CanPowerOff", "PowerOff False"}},
      {"c:\\windows\\system32\\shutdown.exe /r /t 0", {"CanReboot", "Reboot False"}},
      {"shutdown -r -f -t 0", {"CanReboot", "Reboot False"}},
      // Near misses are not power lines.
      {"shutdown -s -t 0", {}},
      {"shutdown -s -f -t 0 ", {}},
      {"SHUTDOWN -s -f -t 0", {}},
      {"shutdown -r -t 0", {}},
      {"c:\\windows\\system32\\shutdown.exe /s /t 0", {}},
      {"shutdown -s -f -t 0; calc", {}},
      {"", {}},
      {"calc", {}},
  };
  LogindPower power = testPower();
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string("\"") + c.line + "\"");
    LinuxProcess alone(power);
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(alone.run(c.line, windowstyle::hidden), c.calls.empty() ? Started::no : Started::yes);
    const auto err = lines(::testing::internal::GetCapturedStderr());
    EXPECT_EQ(takeCalls(), c.calls);
    EXPECT_EQ(err.size(), c.calls.empty() ? 1u : 0u);

    std::vector<std::pair<std::string, int>> handed;
    LinuxProcess withOthers(power, [&](const std::string& line, int style) {
      handed.emplace_back(line, style);
      return true;
    });
    EXPECT_EQ(withOthers.run(c.line, windowstyle::minimized), Started::yes);
    EXPECT_EQ(takeCalls(), c.calls);
    using Handed = std::vector<std::pair<std::string, int>>;
    const Handed expected = c.calls.empty() ? Handed{{c.line, windowstyle::minimized}} : Handed{};
    EXPECT_EQ(handed, expected);
  }
}

// The program keeps running only if it can tell a refused power line from
// one logind took.
TEST_F(LogindOnPrivateBus, APowerLineLogindRefusesComesBackRefused) {
  ASSERT_NO_FATAL_FAILURE(startLogind(R"({"CanPowerOff": "no", "CanReboot": "na"})"));
  LogindPower power = testPower();
  LinuxProcess process(power);
  for (const char* line : {"shutdown -s -f -t 0", "shutdown -s -t 0 -f",
                           "c:\\windows\\system32\\shutdown.exe /r /t 0", "shutdown -r -f -t 0"}) {
    SCOPED_TRACE(line);
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(process.run(line, windowstyle::hidden), Started::refused);
    EXPECT_EQ(lines(::testing::internal::GetCapturedStderr()).size(), 1u);
  }
  EXPECT_EQ(takeCalls(), (Calls{"CanPowerOff", "CanPowerOff", "CanReboot", "CanReboot"}));
}

TEST_F(LogindOnPrivateBus, DryRunOnlyWritesWhatItWouldDo) {
  ASSERT_NO_FATAL_FAILURE(startLogind());
  testenv::ScopedEnv dry("QUORVANE_DRY_RUN", "1");
  LogindPower power = testPower();
  LinuxProcess process(power, [](const std::string&, int) {
    ADD_FAILURE() << "a dry run handed a line on";
    return false;
  });
  const auto start = Clock::now();
  ::testing::internal::CaptureStderr();
  for (const Action& action : {kPowerOff, kRestart, kRestartNow, kSuspend}) {
    EXPECT_TRUE(action.run(power)) << action.name;
  }
  for (const char* line : {"shutdown -s -t 0 -f", "shutdown -r -f -t 0", "calc"}) {
    EXPECT_EQ(process.run(line, windowstyle::hidden), Started::yes) << line;
  }
  const auto err = lines(::testing::internal::GetCapturedStderr());
  EXPECT_LT(Clock::now() - start, 200ms) << "suspend waited";
  EXPECT_EQ(err, (std::vector<std::string>{
                     "quorvane: dry run: would power off",
                     "quorvane: dry run: would restart",
                     "quorvane: dry run: would restart now",
                     "quorvane: dry run: would suspend",
                     "quorvane: dry run: would run \"shutdown -s -t 0 -f\" (window style 0)",
                     "quorvane: dry run: would run \"shutdown -r -f -t 0\" (window style 0)",
                     "quorvane: dry run: would run \"calc\" (window style 0)",
                 }));
  EXPECT_EQ(takeCalls(), Calls{});
}

}  // namespace
}  // namespace qv::lnx
