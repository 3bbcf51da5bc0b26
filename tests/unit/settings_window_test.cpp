// The settings window: creation from the store, its buttons and their write
// orders, live unapplied edits, the mute and autostart.

#include <gtest/gtest.h>

#include <functional>

#include "forms/form1.h"
#include "forms/form3.h"
#include "forms/form5.h"
#include "support/sim.h"

namespace qv {
namespace {

using test::Sim;

class SettingsWindow : public ::testing::Test {
 protected:
  Form5& f() { return sim.program.form<Form5>(); }
  std::vector<std::string> writesSince(std::size_t from) {
    auto& w = sim.fake.store.writes;
    return {w.begin() + static_cast<std::ptrdiff_t>(from), w.end()};
  }
  Sim sim;
};

TEST_F(SettingsWindow, AFreshStoreGivesTheDefaultsAndShowsTheSmallWindow) {
  sim.start();
  std::vector<std::string> shown;
  for (ComboBox* c : {&f().Combo1, &f().Combo2, &f().Combo3, &f().Combo5, &f().Combo4, &f().Combo6,
                      &f().Combo7, &f().Combo9, &f().Combo10, &f().Combo8, &f().Combo13,
                      &f().Combo14, &f().Combo11, &f().Combo12, &f().Combo17, &f().Combo18})
    shown.push_back(c->text());
  EXPECT_EQ(shown, (std::vector<std::string>{"72", "86", "80", "56", "0", "12", "36", "36", "60",
                                             "36", "80", "58", "900", "80", "停用", "20"}));
  EXPECT_EQ(f().Text15.text(), "1600");
  EXPECT_EQ(f().Text16.text(), "60");
  for (CheckBox* c : {&f().Check1, &f().Check2, &f().Check3, &f().Check4, &f().Check5, &f().Check6,
                      &f().Check7, &f().Check13, &f().Check14, &f().Check15})
    EXPECT_EQ(c->value(), 0) << c->name();
  EXPECT_TRUE(f().Option4.value());
  EXPECT_TRUE(sim.program.form<Form3>().visible());
  // The lists: 0..37 then -1..-37 for the calibration; "停用" first for the day.
  EXPECT_EQ(f().Combo4.items().size(), 75u);
  EXPECT_EQ(f().Combo4.items()[38], "-1");
  EXPECT_EQ(f().Combo4.items().back(), "-37");
  EXPECT_EQ(f().Combo17.items().front(), "停用");
  EXPECT_EQ(f().Combo10.items().back(), "2600");
  EXPECT_EQ(f().Combo18.items().front(), "3");
  EXPECT_EQ(f().Combo12.items().front(), "0");
  EXPECT_EQ(f().Combo11.listIndex(), -1);  // the default 900 is not in its list
}

TEST_F(SettingsWindow, AStoredStoreIsShownAsStoredEvenOffTheLists) {
  auto& s = sim.fake.store;
  s.put("a", "a", "status", "1");
  s.put("b", "b", "status", "1");
  s.put("e", "e", "status", "2");
  s.put("p", "p", "status", "7");  // not a box state: the box stays clear
  s.put("MyApp", "Startup", "Form5.Combo1", "65");
  s.put("MyApp", "Startup", "Form5.Combo10", "abc");
  s.put("MyApp", "Startup", "text15", "2000");
  sim.start();
  EXPECT_EQ(f().Check1.value(), 1);
  EXPECT_EQ(f().Check2.value(), 1);
  EXPECT_EQ(f().Check4.value(), 2);
  EXPECT_EQ(f().Check14.value(), 0);
  EXPECT_EQ(f().Combo1.text(), "65");
  EXPECT_EQ(f().Combo10.text(), "abc");
  EXPECT_EQ(f().Text15.text(), "2000");
  EXPECT_TRUE(sim.program.existing<Form3>() == nullptr ||
              !sim.program.existing<Form3>()->visible());
}

TEST_F(SettingsWindow, EachApplyWritesItsKeysInOrderInOneBatchAndCloses) {
  sim.start();
  struct Case {
    CommandButton& (*button)(Form5&);
    std::vector<std::string> writes;
  };
  const Case cases[] = {
      {[](Form5& f) -> CommandButton& { return f.Command1; },
       {"MyApp/Startup/Form5.Combo1=72", "MyApp/Startup/Form5.Combo2=86",
        "MyApp/Startup/Form5.Combo3=80", "MyApp/Startup/Form5.Combo4=0",
        "MyApp/Startup/Form5.Combo5=56", "MyApp/Startup/Form5.Combo6=12",
        "MyApp/Startup/Form5.Combo7=36", "MyApp/Startup/Form5.Combo9=36",
        "MyApp/Startup/Form5.Combo10=60", "MyApp/Startup/Form5.Combo13=80",
        "MyApp/Startup/Form5.Combo14=58", "MyApp/Startup/Form5.Combo8=36"}},
      {[](Form5& f) -> CommandButton& { return f.Command5; },
       {"a/a/status=0", "b/b/status=0", "c/c/status=0", "e/e/status=0", "h/h/status=0",
        "p/p/status=0", "j/j/status=0", "MyApp/Startup/Form5.Combo17=停用",
        "MyApp/Startup/Form5.Combo18=20"}},
      {[](Form5& f) -> CommandButton& { return f.Command14; },
       {"MyApp/Startup/Form5.Combo11=900", "MyApp/Startup/Form5.Combo12=80"}},
      {[](Form5& f) -> CommandButton& { return f.Command22; },
       {"z/z/status=0", "x/x/status=0", "v/v/status=0", "n/n/status=0", "m/m/status=0",
        "i/i/status=0", "o/o/status=0"}},
  };
  for (const Case& c : cases) {
    std::size_t from = sim.fake.store.writes.size();
    std::size_t batches = sim.fake.store.batches.size();
    sim.click(c.button(f()));
    EXPECT_EQ(writesSince(from), c.writes);
    // All of one apply reach the store in one write.
    EXPECT_EQ(sim.fake.store.batches.size(), batches + 1);
    EXPECT_EQ(sim.fake.store.batches.back(), c.writes.size());
    EXPECT_EQ(sim.program.existing<Form5>(), nullptr);  // closed
  }
}

TEST_F(SettingsWindow, DefaultsSaveTheTwelveLimitsOnlyAndCancelLosesEdits) {
  auto& s = sim.fake.store;
  s.put("MyApp", "Startup", "Form5.Combo1", "50");
  s.put("MyApp", "Startup", "Form5.Combo11", "600");
  s.put("e", "e", "status", "0");
  sim.start();
  sim.click(f().Command3);
  EXPECT_EQ(s.writes.size(), 12u);
  EXPECT_EQ(s.get("MyApp", "Startup", "Form5.Combo1"), "72");
  EXPECT_EQ(s.get("MyApp", "Startup", "Form5.Combo11"), "600");
  EXPECT_EQ(f().Combo1.text(), "72");

  // An edit is live until the window closes; a cancel loses it.
  f().Combo1.setText("50");
  EXPECT_EQ(sim.program.form<Form5>().Combo1.text(), "50");
  sim.click(f().Command2);
  EXPECT_EQ(f().Combo1.text(), "72");
  EXPECT_EQ(s.writes.size(), 12u);
}

// Every cancel button and the title-bar close lose the edits of every group:
// the next creation shows what the store holds, and nothing was written.
TEST(SettingsWindowCancel, EveryCancelAndTheTitleBarCloseDiscardEdits) {
  struct Closer {
    const char* name;
    std::function<void(Program&, Form5&)> close;
  };
  auto press = [](const char* name, CommandButton Form5::*button) {
    return Closer{name, [button](Program&, Form5& f) { (f.*button).click(); }};
  };
  const Closer closers[] = {
      press("Command2", &Form5::Command2),
      press("Command4", &Form5::Command4),
      press("Command6", &Form5::Command6),
      press("Command7", &Form5::Command7),
      press("Command9", &Form5::Command9),
      {"title bar", [](Program& p, Form5& f) { p.requestClose(f); }},
  };
  for (const Closer& c : closers) {
    SCOPED_TRACE(c.name);
    Sim sim;
    auto& s = sim.fake.store;
    s.put("MyApp", "Startup", "Form5.Combo1", "65");
    s.put("MyApp", "Startup", "Form5.Combo17", "5");
    s.put("MyApp", "Startup", "Form5.Combo11", "600");
    s.put("MyApp", "Startup", "Option1", "True");
    s.put("b", "b", "status", "1");
    sim.start();
    const std::size_t writes = s.writes.size();

    sim.run([&] {
      Form5& f = sim.program.form<Form5>();
      f.Combo1.setText("50");
      f.Combo6.setText("20");
      f.Combo17.setText("9");
      f.Combo11.setText("800");
      f.Check2.setValue(0);
      f.Check15.setValue(1);
      f.Check7.setValue(1);
      f.Option5.setValue(true);
    });
    sim.run([&] { c.close(sim.program, sim.program.form<Form5>()); });
    ASSERT_EQ(sim.program.existing<Form5>(), nullptr);
    EXPECT_EQ(s.writes.size(), writes);

    Form5& g = sim.program.form<Form5>();
    EXPECT_EQ(g.Combo1.text(), "65");
    EXPECT_EQ(g.Combo6.text(), "12");
    EXPECT_EQ(g.Combo17.text(), "5");
    EXPECT_EQ(g.Combo11.text(), "600");
    EXPECT_EQ(g.Check2.value(), 1);
    EXPECT_EQ(g.Check15.value(), 0);
    EXPECT_EQ(g.Check7.value(), 0);
    EXPECT_TRUE(g.Option1.value());
    EXPECT_FALSE(g.Option5.value());
  }
}

TEST_F(SettingsWindow, TypingIsDiscardedInTheFields) {
  sim.start();
  EXPECT_FALSE(f().Combo1.keyPress(U'5'));
  EXPECT_FALSE(f().Combo18.keyPress(8));
}

TEST_F(SettingsWindow, TheMuteSilencesBothTonesWithoutTouchingTheStore) {
  sim.fake.store.put("e", "e", "status", "1");
  sim.fake.store.put("MyApp", "Startup", "Form5.Combo11", "600");
  sim.start();
  EXPECT_EQ(f().Combo11.text(), "0");
  EXPECT_EQ(f().Combo12.text(), "0");
  EXPECT_EQ(f().Text15.text(), "0");
  EXPECT_EQ(f().Text16.text(), "0");
  // Cleared and applied: the stored tone comes back at the next creation.
  sim.run([&] { f().Check4.setValue(0); });
  sim.click(f().Command5);
  EXPECT_EQ(f().Combo11.text(), "600");
  EXPECT_EQ(f().Text15.text(), "1600");
}

TEST_F(SettingsWindow, AutostartFollowsTheOptionWhenApplied) {
  sim.start();
  sim.run([&] { f().Check5.setValue(1); });
  sim.click(f().Command5);
  EXPECT_EQ(sim.fake.store.get("h", "h", "status"), "1");
  sim.run([&] { f().Check5.setValue(0); });
  sim.click(f().Command5);
  EXPECT_EQ(sim.fake.store.get("h", "h", "status"), "0");
  EXPECT_EQ(
      sim.fake.autostart.calls,
      (std::vector<std::string>{"add quorvane /opt/quorvane/bin/quorvane", "remove quorvane"}));
  // A failure stays silent and the option still reads as applied.
  sim.fake.autostart.fails = true;
  sim.run([&] { f().Check5.setValue(1); });
  sim.click(f().Command5);
  EXPECT_EQ(sim.fake.store.get("h", "h", "status"), "1");
}

TEST_F(SettingsWindow, AutostartNamesAWindowsProgramByItsFileName) {
  sim.fake.process.path = R"(C:\Users\李\AppData\Local\Programs\Quorvane\quorvane.exe)";
  sim.start();
  sim.run([&] { f().Check5.setValue(1); });
  sim.click(f().Command5);
  ASSERT_EQ(sim.fake.autostart.calls.size(), 1u);
  EXPECT_EQ(sim.fake.autostart.calls[0], "add quorvane " + sim.fake.process.path);
}

TEST_F(SettingsWindow, TheSettingsToolShowsItAndHidesTheMainWindow) {
  sim.start();
  f().Combo1.setText("50");  // unapplied: still shown
  sim.click(sim.program.form<Form1>().Image10);
  EXPECT_TRUE(f().visible());
  EXPECT_EQ(f().Combo1.text(), "50");
  EXPECT_FALSE(sim.program.form<Form1>().visible());
}

TEST_F(SettingsWindow, TheHiddenButtonsKeepTheDateReminderFlagAndTheSecondTone) {
  sim.start();
  sim.click(f().Command20);
  EXPECT_EQ(f().Check6.value(), 1);
  EXPECT_EQ(sim.fake.store.get("t", "t", "status"), "1");
  sim.click(f().Command21);
  EXPECT_EQ(sim.fake.store.get("t", "t", "status"), "0");
  sim.click(f().Command18);
  EXPECT_EQ(f().Text15.text(), "1600");
  EXPECT_EQ(sim.fake.store.get("MyApp", "Startup", "text15"), "1600");
}

}  // namespace
}  // namespace qv
