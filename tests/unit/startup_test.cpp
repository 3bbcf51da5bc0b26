// Start-up, the main window's close request, restoring from the tray and
// the two exits.

#include <gtest/gtest.h>

#include "app/other_starts.h"
#include "forms/form1.h"
#include "forms/form3.h"
#include "forms/form5.h"
#include "platform/single_instance.h"
#include "sensing/temperature_sensor.h"
#include "support/sim.h"

namespace qv {
namespace {

using test::Sim;

class StartUp : public ::testing::Test {
 protected:
  Form1& main() { return sim.program.form<Form1>(); }
  test::MemoryStore& store() { return sim.fake.store; }
  void put(const std::string& key, const std::string& value) {
    store().put("MyApp", "Startup", key, value);
  }
  Sim sim;
};

TEST_F(StartUp, FirstStartOnAnEmptyStoreShowsTheDefaultsAndWritesNothing) {
  sim.start();
  Form1& f = main();
  EXPECT_TRUE(f.visible());
  EXPECT_EQ(f.Combo3.text(), "请输入提醒内容!");
  EXPECT_EQ(f.Combo7.text(), "请输入提醒内容!");
  EXPECT_EQ(f.Combo1.text(), "");
  EXPECT_EQ(f.Combo2.text(), "");
  EXPECT_EQ(f.Combo4.text(), "2007");
  EXPECT_EQ(f.Combo5.text(), "1");
  EXPECT_EQ(f.Combo6.text(), "1");
  EXPECT_EQ(f.Combo8.text(), "0");
  EXPECT_EQ(f.Combo9.text(), "00");
  EXPECT_EQ(f.Combo10.text(), "");
  EXPECT_TRUE(f.Option5.value());
  EXPECT_FALSE(f.Option1.value() || f.Option2.value() || f.Option4.value());
  for (Label* l : {&f.Label16, &f.Label20, &f.Label31, &f.Label6}) EXPECT_EQ(l->text(), "0");
  // Minutes are two digits, hours none.
  EXPECT_EQ(f.Combo2.items().front(), "00");
  EXPECT_EQ(f.Combo2.items()[10], "10");
  EXPECT_EQ(f.Combo2.items().size(), 60u);
  EXPECT_EQ(f.Combo1.items().front(), "0");
  EXPECT_EQ(f.Combo4.items().back(), "3000");
  // The settings window exists, hidden; with "a" unset it showed the small
  // monitor window.
  ASSERT_NE(sim.program.existing<Form5>(), nullptr);
  EXPECT_FALSE(sim.program.existing<Form5>()->visible());
  ASSERT_NE(sim.program.existing<Form3>(), nullptr);
  EXPECT_TRUE(sim.program.existing<Form3>()->visible());
  // The application icon, with an empty tooltip.
  EXPECT_TRUE(sim.fake.tray.present(1));
  EXPECT_EQ(sim.fake.tray.icons[1].tip, "");
  EXPECT_TRUE(store().writes.empty());
}

TEST_F(StartUp, RestoresTheUsersChoicesAndKeepsDefaultsForRejectedValues) {
  put("Form1.Combo1", "08");  // not an hour of the list
  put("Form1.Combo2", "05");
  put("Form1.Combo4", "2008");
  put("Form1.Combo5", "13");  // no such month
  put("Form1.Combo3", "开会，带上报告");
  put("Form1.Combo10", "22");
  put("Form1.Option1", "maybe");  // not a truth value: unchanged
  put("Form1.Option4", "True");
  put("Form1.Option5", "False");
  store().put("a", "a", "status", "1");
  sim.start();
  Form1& f = main();
  EXPECT_EQ(f.Combo1.text(), "");
  EXPECT_EQ(f.Combo2.text(), "05");
  EXPECT_EQ(f.Combo4.text(), "2008");
  EXPECT_EQ(f.Combo5.text(), "1");
  EXPECT_EQ(f.Combo3.text(), "开会，带上报告");
  EXPECT_EQ(f.Combo10.text(), "22");
  EXPECT_FALSE(f.Option1.value());
  EXPECT_TRUE(f.Option4.value());
  EXPECT_FALSE(f.Option5.value());
  // "a" = 1 keeps the small monitor window hidden.
  EXPECT_TRUE(sim.program.existing<Form3>() == nullptr ||
              !sim.program.existing<Form3>()->visible());
  EXPECT_TRUE(store().writes.empty());
}

TEST_F(StartUp, PutsEveryTimerIntoItsStartUpState) {
  sim.start();
  Form1& f = main();
  struct Row {
    Timer* timer;
    std::int64_t interval;
    bool running;
  };
  const Row table[] = {
      {&f.Timer1, 6000, false},   {&f.Timer2, 8000, true},    {&f.Timer3, 8000, true},
      {&f.Timer4, 36000, true},   {&f.Timer5, 36000, true},   {&f.Timer6, 8000, true},
      {&f.Timer7, 62000, false},  {&f.Timer8, 8000, true},    {&f.Timer9, 6000, true},
      {&f.Timer10, 6000, false},  {&f.Timer11, 70, true},     {&f.Timer12, 17000, true},
      {&f.Timer13, 6000, false},  {&f.Timer14, 6000, true},   {&f.Timer15, 6000, true},
      {&f.Timer16, 6000, false},  {&f.Timer17, 6000, false},  {&f.Timer18, 21000, true},
      {&f.Timer19, 60000, true},  {&f.Timer20, 6000, false},  {&f.Timer21, 6000, false},
      {&f.Timer22, 6000, false},  {&f.Timer23, 6000, false},  {&f.Timer24, 36000, true},
      {&f.Timer25, 60000, true},  {&f.Timer26, 6000, false},  {&f.Timer27, 62000, false},
      {&f.Timer28, 62000, false}, {&f.Timer29, 62000, false}, {&f.Timer30, 62000, false},
      {&f.Timer31, 6000, false},  {&f.Timer32, 62000, false}, {&f.Timer33, 62000, false},
      {&f.Timer34, 62000, false}, {&f.Timer35, 6000, false},  {&f.Timer36, 6000, false},
      {&f.Timer37, 6000, false},  {&f.Timer38, 1000, false},  {&f.Timer39, 62000, false},
  };
  ASSERT_EQ(std::size(table), f.timers().size());
  for (const Row& r : table) {
    EXPECT_EQ(r.timer->interval(), r.interval) << r.timer->name();
    EXPECT_EQ(r.timer->enabled(), r.running) << r.timer->name();
  }
  EXPECT_EQ(f.Label19.text(), "定时未启动");
  EXPECT_EQ(f.Label111.text(), "...");
  EXPECT_EQ(f.Text1.text(), "你");
  EXPECT_TRUE(f.Label118.font().underline);
}

TEST_F(StartUp, CheckPeriodsComeFromTheSettingsWithoutA65SecondCeiling) {
  put("Form5.Combo10", "120");
  put("Form5.Combo7", "abc");  // not a number: the check never runs
  sim.start();
  EXPECT_EQ(main().Timer19.interval(), 120000);
  EXPECT_EQ(main().Timer25.interval(), 120000);
  EXPECT_EQ(main().Timer4.interval(), 0);
  EXPECT_EQ(main().Timer24.interval(), 0);
}

TEST_F(StartUp, ARunningDateReminderFlagSurvivesTheStart) {
  store().put("t", "t", "status", "1");
  int pressed = 0;
  sim.program.onCreate<Form1>([&](Form1& f) { f.Command19.onClick.replace([&] { ++pressed; }); });
  sim.start();
  EXPECT_EQ(pressed, 1);
  EXPECT_EQ(store().get("t", "t", "status"), "1");
  EXPECT_EQ(sim.program.form<Form5>().Check6.value(), 1);
}

TEST_F(StartUp, ClosingHidesToTheTrayAndTheTrayRestores) {
  sim.start();
  Form1& f = main();
  std::vector<Property> requests;
  f.observe([&](Control* c, Property p) {
    if (c == &f.F66) requests.push_back(p);
  });

  sim.run([&] { sim.program.requestClose(f); });
  EXPECT_TRUE(f.loaded());
  EXPECT_FALSE(f.visible());
  EXPECT_FALSE(f.taskbar());
  EXPECT_EQ(sim.program.state<MainSensor>().Temperatures, nullptr);
  EXPECT_TRUE(sim.fake.tray.present(1));

  sim.fake.tray.mouse(1, 3);  // both buttons: nothing
  sim.fake.tray.mouse(1, 0);
  EXPECT_FALSE(f.visible());
  EXPECT_TRUE(requests.empty());

  sim.fake.tray.mouse(1, 2);  // the menu, without restoring
  EXPECT_EQ(requests, std::vector<Property>{Property::PopupMenu});
  EXPECT_FALSE(f.visible());

  f.setState(WindowState::Minimized);
  sim.fake.tray.mouse(1, 1);
  EXPECT_TRUE(f.visible());
  EXPECT_TRUE(f.taskbar());
  EXPECT_EQ(f.state(), WindowState::Normal);
}

TEST_F(StartUp, TheExitPictureEndsAtOnceAndTheTrayMenuRemovesBothIconsFirst) {
  {
    Sim a;
    a.start();
    auto calls = a.fake.tray.calls.size();
    a.click(a.program.form<Form1>().Image12);
    EXPECT_TRUE(a.program.ended());
    EXPECT_EQ(a.fake.tray.calls.size(), calls);
    EXPECT_TRUE(a.fake.store.writes.empty());
  }
  sim.start();
  sim.fake.tray.calls.clear();
  sim.click(main().F33);
  EXPECT_TRUE(sim.program.ended());
  ASSERT_EQ(sim.fake.tray.calls.size(), 2u);
  EXPECT_EQ(sim.fake.tray.calls[0].action, TrayAction::Delete);
  EXPECT_EQ(sim.fake.tray.calls[0].data.id, 1);
  EXPECT_EQ(sim.fake.tray.calls[1].action, TrayAction::Delete);
  EXPECT_EQ(sim.fake.tray.calls[1].data.id, 0);
  EXPECT_FALSE(sim.fake.tray.present(1));
  EXPECT_TRUE(store().writes.empty());
  // Nothing runs after the end.
  sim.advance(60'000);
  EXPECT_EQ(sim.fake.tray.calls.size(), 2u);
}

// A later start of the program and the installer reach the running copy
// through its single-instance claim.
TEST_F(StartUp, ALaterStartBringsTheWindowBackAndTheInstallerEndsTheProgram) {
  SingleInstance instance;
  answerOtherStarts(sim.program, instance);
  sim.start();
  Form1& f = main();
  sim.run([&] { sim.program.requestClose(f); });
  f.setState(WindowState::Minimized);
  instance.onShow();
  EXPECT_TRUE(f.visible());
  EXPECT_TRUE(f.taskbar());
  EXPECT_EQ(f.state(), WindowState::Normal);
  instance.onShow();  // already up: stays so
  EXPECT_TRUE(f.visible());

  sim.advance(7000);  // the readout icon is there
  ASSERT_TRUE(sim.fake.tray.present(0));
  instance.onEnd();
  EXPECT_TRUE(sim.program.ended());
  EXPECT_FALSE(sim.fake.tray.present(1));
  EXPECT_FALSE(sim.fake.tray.present(0));
}

}  // namespace
}  // namespace qv
