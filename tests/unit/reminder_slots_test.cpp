// The reminder slots: the window's load, typing rules and buttons, the
// matcher on the main window's clock and the two ways of delivery.

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "forms/form1.h"
#include "forms/form17.h"
#include "forms/form18.h"
#include "support/sim.h"

namespace qv {
namespace {

using test::Sim;

const char* const kTitle = "温馨提醒";
// 8:04:30: the matcher's ticks come at :36, :42 … and first see 8:05 at
// 8:05:00, 30 s after the start.
const DateTime kStart{2026, 12, 11, 8, 4, 30, 5};
constexpr std::int64_t kFirstMatch = 30'000;

struct Slot {
  int k;
  std::string hour, minute, message;
};

void store(test::MemoryStore& s, const Slot& slot) {
  auto put = [&](int n, const std::string& v) {
    s.put("MyApp", "Startup", "Form17.Combo" + std::to_string(n), v);
  };
  put(3 * slot.k + 1, slot.hour);
  put(3 * slot.k + 2, slot.minute);
  put(3 * slot.k + 3, slot.message);
}

// The program started at 8:04:30 with "开启多段提醒" ticked and the matcher
// on from the start (the settings window's tick, 6.6 s later, keeps it on). The fake processor
// reads as fully loaded, so the CPU-load check, whose hint would hide the
// main window too, stays off.
void startWithMatcher(Sim& sim) {
  sim.fake.clock.setLocalTime(kStart);
  sim.fake.store.put("j", "j", "status", "1");  // "开启多段提醒"
  sim.start();
  sim.run([&] {
    Form1& f = sim.program.form<Form1>();
    f.Timer9.stop();
    f.Timer37.start();
  });
}

std::vector<std::string> reminders(const Sim& sim) {
  std::vector<std::string> texts;
  for (const auto& b : sim.fake.tray.balloons)
    if (b.title == kTitle) texts.push_back(b.text);
  return texts;
}

struct MatchCase {
  const char* name;
  std::vector<Slot> slots;
  std::vector<std::string> delivered;  // balloon texts at 8:06:02
};

TEST(ReminderSlots, TheLastSlotMatchingTheClockIsDeliveredOnce62SecondsAfterTheFirstMatch) {
  const MatchCase cases[] = {
      {"8:05", {{0, "8", "05", "开会"}}, {"温馨提醒, 开会"}},
      {"a leading zero never matches", {{0, "08", "05", "开会"}}, {}},
      {"a slot switched off", {{0, "停用", "05", "开会"}}, {}},
      {"two slots at one time: the higher one's message",
       {{17, "8", "05", "后"}, {3, "8", "05", "前"}},
       {"温馨提醒, 后"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Sim sim;
    for (const Slot& s : c.slots) store(sim.fake.store, s);
    sim.fake.store.put("f", "f", "status", "1");
    startWithMatcher(sim);
    Form1& f = sim.program.form<Form1>();

    sim.advance(kFirstMatch);
    EXPECT_EQ(f.Label112.text(), "8:05");
    EXPECT_EQ(f.Timer39.enabled(), !c.delivered.empty());
    // Later matches within the minute leave the countdown running.
    sim.advance(61'999);
    EXPECT_EQ(reminders(sim), std::vector<std::string>{});
    sim.advance(1);
    EXPECT_EQ(reminders(sim), c.delivered);
    EXPECT_FALSE(f.Timer39.enabled());
    sim.advance(5 * 60'000);
    EXPECT_EQ(reminders(sim), c.delivered);
  }
}

struct DeliveryCase {
  const char* flag;
  std::vector<std::string> balloons;
  bool popup;
};

TEST(ReminderSlots, ABalloonOrThePopupThenTheMainWindowIsHiddenAgainASecondLater) {
  const DeliveryCase cases[] = {
      {"1", {"温馨提醒, 开会"}, false},
      {"0", {}, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.flag);
    Sim sim;
    store(sim.fake.store, {5, "8", "05", "开会"});
    sim.fake.store.put("f", "f", "status", c.flag);
    startWithMatcher(sim);
    Form1& f = sim.program.form<Form1>();
    ASSERT_TRUE(f.visible());

    sim.advance(kFirstMatch + 62'000);
    EXPECT_EQ(reminders(sim), c.balloons);
    EXPECT_EQ(sim.fake.tray.balloons.size(), c.balloons.size());
    Form18* popup = sim.program.existing<Form18>();
    EXPECT_EQ(popup && popup->visible(), c.popup);
    if (c.popup) {
      EXPECT_EQ(popup->Label1.text(), "开会");
      EXPECT_EQ(popup->caption(), "VELT-提醒");
      EXPECT_TRUE(popup->topmost());
    }
    EXPECT_FALSE(f.visible());

    // The user brings the main window back at once; it goes again.
    sim.run([&] { f.show(); });
    sim.advance(999);
    EXPECT_TRUE(f.visible());
    sim.advance(1);
    EXPECT_FALSE(f.visible());
    EXPECT_FALSE(f.Timer38.enabled());
  }
}

// Slots a minute apart: each minute's reminder keeps its own message and
// comes 62 s after its own first match, once.
TEST(ReminderSlots, SlotsAMinuteApartAreEachDeliveredOnceWithTheirOwnMessage) {
  for (const char* flag : {"1", "0"}) {
    SCOPED_TRACE(std::string("balloon option ") + flag);
    Sim sim;
    store(sim.fake.store, {0, "8", "05", "早"});
    store(sim.fake.store, {1, "8", "06", "晚"});
    sim.fake.store.put("f", "f", "status", flag);
    startWithMatcher(sim);
    // What the user is shown at a moment: the balloons so far, or the popup's
    // message while it is up.
    auto shown = [&] {
      if (std::string(flag) == "1") return reminders(sim);
      Form18* popup = sim.program.existing<Form18>();
      return popup && popup->visible() ? std::vector<std::string>{popup->Label1.text()}
                                       : std::vector<std::string>{};
    };
    const std::vector<std::string> first = flag == std::string("1")
                                               ? std::vector<std::string>{"温馨提醒, 早"}
                                               : std::vector<std::string>{"早"};
    const std::vector<std::string> both =
        flag == std::string("1") ? std::vector<std::string>{"温馨提醒, 早", "温馨提醒, 晚"}
                                 : std::vector<std::string>{"晚"};
    // 8:05 first matches at 8:05:00, 8:06 at 8:06:00.
    sim.advance(kFirstMatch + 61'999);
    EXPECT_EQ(shown(), std::vector<std::string>{});
    sim.advance(1);
    EXPECT_EQ(shown(), first);
    sim.advance(59'999);
    EXPECT_EQ(shown(), first);
    sim.advance(1);
    EXPECT_EQ(shown(), both);
    sim.advance(10 * 60'000);
    EXPECT_EQ(shown(), both);
    EXPECT_FALSE(sim.program.form<Form1>().Timer39.enabled());
  }
}

// The balloon closes a popup an earlier reminder left open: a window that is
// only hidden would still be there.
TEST(ReminderSlots, ABalloonClosesThePopupAnEarlierReminderLeftOpen) {
  Sim sim;
  store(sim.fake.store, {0, "8", "05", "开会"});
  sim.fake.store.put("f", "f", "status", "1");
  startWithMatcher(sim);
  sim.run([&] { sim.program.form<Form18>().show(); });
  ASSERT_TRUE(sim.program.form<Form18>().visible());
  sim.advance(kFirstMatch + 62'000);
  EXPECT_EQ(reminders(sim), std::vector<std::string>{"温馨提醒, 开会"});
  EXPECT_EQ(sim.program.existing<Form18>(), nullptr);
}

TEST(ReminderSlots, HoursAndMinutesIgnoreTypingAndAMessageKeepsItsFirst28Characters) {
  Sim sim;
  sim.start();
  Form17& s = sim.program.form<Form17>();
  auto type = [&](ComboBox& c, const std::string& keys) {
    for (char key : keys)
      sim.run([&] {
        if (c.keyPress(static_cast<char32_t>(key))) c.setText(c.text() + key);
      });
  };

  type(s.hour(4), "8");
  type(s.minute(4), "05");
  EXPECT_EQ(s.hour(4).text(), "");
  EXPECT_EQ(s.minute(4).text(), "");
  sim.run([&] { s.hour(4).pick(9); });
  sim.run([&] { s.minute(4).pick(5); });
  EXPECT_EQ(s.hour(4).text() + ":" + s.minute(4).text(), "8:05");

  type(s.message(4), "abcdefghijklmnopqrstuvwxyz1234");
  EXPECT_EQ(s.message(4).text(), "abcdefghijklmnopqrstuvwxyz12");
  // Characters are counted, not bytes.
  std::string thirty;
  for (int i = 0; i < 30; ++i) thirty += i < 28 ? "提" : "醒";
  sim.run([&] { s.message(9).setText(thirty); });
  EXPECT_EQ(s.message(9).text(), thirty.substr(0, 28 * 3));
}

TEST(ReminderSlots, ApplyWritesTheFlagThenAll72FieldsInOneBatchAndCloses) {
  Sim sim;
  sim.start();
  Form17& s = sim.program.form<Form17>();
  sim.run([&] {
    s.hour(0).pick(9);
    s.message(23).setText("下班");
    s.Check1.setValue(1);
  });
  const std::size_t before = sim.fake.store.writes.size();
  sim.click(s.Command1);

  std::vector<std::string> expected{"f/f/status=1"};
  for (int n = 1; n <= 72; ++n)
    expected.push_back("MyApp/Startup/Form17.Combo" + std::to_string(n) +
                       (n == 1    ? "=8"
                        : n == 72 ? "=下班"
                                  : "="));
  EXPECT_EQ(std::vector<std::string>(sim.fake.store.writes.begin() + static_cast<long>(before),
                                     sim.fake.store.writes.end()),
            expected);
  EXPECT_EQ(sim.fake.store.batches.back(), 73u);
  EXPECT_EQ(sim.program.existing<Form17>(), nullptr);
}

TEST(ReminderSlots, CancelDiscardsEditsAndTheNextLoadShowsTheStoredSlots) {
  Sim sim;
  store(sim.fake.store, {2, "9", "30", "喝水"});
  sim.fake.store.put("f", "f", "status", "1");
  sim.start();
  Form17& s = sim.program.form<Form17>();
  EXPECT_EQ(s.hour(2).items().front(), "停用");
  EXPECT_EQ(s.hour(2).items().size(), 25u);
  EXPECT_EQ(s.minute(2).items().front(), "00");
  EXPECT_EQ(s.minute(2).items().back(), "59");
  sim.run([&] {
    s.hour(2).pick(0);
    s.message(2).setText("别的");
    s.Check1.setValue(0);
  });
  const std::size_t before = sim.fake.store.writes.size();
  sim.click(s.Command2);
  EXPECT_EQ(sim.program.existing<Form17>(), nullptr);
  EXPECT_EQ(sim.fake.store.writes.size(), before);

  Form17& again = sim.program.form<Form17>();
  EXPECT_EQ(again.hour(2).text(), "9");
  EXPECT_EQ(again.minute(2).text(), "30");
  EXPECT_EQ(again.message(2).text(), "喝水");
  EXPECT_EQ(again.Check1.value(), 1);
}

TEST(ReminderSlots, DefaultSavesEveryFieldEmptySoAfterARestartNoSlotFires) {
  Sim sim;
  for (int k = 0; k < Form17::kSlots; ++k) store(sim.fake.store, {k, "8", "05", "开会"});
  sim.fake.store.put("f", "f", "status", "1");
  sim.start();
  sim.click(sim.program.form<Form17>().Command3);
  EXPECT_EQ(sim.program.existing<Form17>(), nullptr);
  EXPECT_EQ(sim.fake.store.batches.back(), 73u);
  EXPECT_EQ(sim.fake.store.get("f", "f", "status"), "1");
  for (int n = 1; n <= 72; ++n)
    EXPECT_EQ(sim.fake.store.get("MyApp", "Startup", "Form17.Combo" + std::to_string(n)), "");

  Sim restarted;
  restarted.fake.store.values = sim.fake.store.values;
  startWithMatcher(restarted);
  restarted.advance(5 * 60'000);
  EXPECT_EQ(reminders(restarted), std::vector<std::string>{});
  EXPECT_EQ(restarted.program.form<Form17>().hour(0).text(), "");
}

TEST(ReminderSlots, TheLinkOpensTheSlotsWindowAndHidesTheMainWindow) {
  Sim sim;
  sim.start();
  Form1& f = sim.program.form<Form1>();
  sim.click(f.Label113);
  ASSERT_NE(sim.program.existing<Form17>(), nullptr);
  EXPECT_TRUE(sim.program.existing<Form17>()->visible());
  EXPECT_FALSE(f.visible());
}

}  // namespace
}  // namespace qv
