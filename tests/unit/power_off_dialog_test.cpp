// The power-off dialog: opening it, what each choice reaches, standby with
// the hide after the resume, and cancelling.

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "forms/form1.h"
#include "forms/form19.h"
#include "support/sim.h"

namespace qv {
namespace {

using test::Sim;
using Runs = std::vector<std::pair<std::string, int>>;
using Calls = std::vector<std::string>;

constexpr int kHidden = 0;

Form19& open(Sim& sim) {
  sim.click(sim.program.form<Form1>().Image9);
  return sim.program.form<Form19>();
}

void choose(Sim& sim, OptionButton& option) {
  sim.run([&] { option.setValue(true); });
}

using Texts = std::vector<std::string>;

// The warning balloons that told of a refused power action.
Texts refusals(const Sim& sim) {
  Texts texts;
  for (const auto& b : sim.fake.tray.balloons)
    if (b.title == "操作失败" && b.kind == 2) texts.push_back(b.text);
  return texts;
}

TEST(PowerOffDialog, OpensOnTopWithNoActionChosenAndPutsTheMainWindowAway) {
  Sim sim;
  sim.start();
  Form1& m = sim.program.form<Form1>();
  Form19& d = open(sim);
  EXPECT_TRUE(d.visible());
  EXPECT_TRUE(d.topmost());
  EXPECT_EQ(d.caption(), "VELT-关闭计算机");
  for (OptionButton* o : {&d.Option1, &d.Option2, &d.Option3, &d.Option4, &d.Option5})
    EXPECT_FALSE(o->value()) << o->name();
  EXPECT_TRUE(d.Option6.value());
  EXPECT_FALSE(m.visible());
  EXPECT_FALSE(m.taskbar());  // a close request, not a plain hide
}

TEST(PowerOffDialog, EachChoiceReachesItsOwnActionThenTheDialogClosesAndTheMainWindowGoes) {
  const struct {
    OptionButton Form19::*option;
    const char* caption;
    Runs runs;
    Calls power;
    int displayOffs;
    const char* refusal;  // the balloon when the system says no
  } choices[] = {
      {&Form19::Option1, "关机", {{"shutdown -s -f -t 0", kHidden}}, {}, 0, "系统拒绝了关机请求"},
      {&Form19::Option2, "重启", {{"shutdown -r -f -t 0", kHidden}}, {}, 0, "系统拒绝了重启请求"},
      {&Form19::Option3, "快速重启", {}, {"restartNow"}, 0, "系统拒绝了重启请求"},
      {&Form19::Option4, "待机", {}, {"suspend"}, 0, "系统拒绝了待机请求"},
      {&Form19::Option5, "关闭显示器", {}, {}, 1, nullptr},
      {&Form19::Option6, "无动作", {}, {}, 0, nullptr},
  };
  for (const auto& c : choices) {
    for (bool refused : {false, true}) {
      SCOPED_TRACE(std::string(c.caption) + (refused ? " (refused)" : ""));
      Sim sim;
      sim.fake.process.refuses = refused;
      sim.fake.power.refuses = refused;
      sim.fake.display.fails = refused;
      sim.start();
      Form1& m = sim.program.form<Form1>();
      Form19& d = open(sim);
      EXPECT_EQ((d.*c.option).text(), c.caption);
      // The user brought the main window back meanwhile.
      sim.fake.tray.mouse(1, 1);
      ASSERT_TRUE(m.visible());
      choose(sim, d.*c.option);
      sim.click(d.Command1);
      EXPECT_EQ(sim.program.existing<Form19>(), nullptr);
      EXPECT_FALSE(m.visible());
      EXPECT_FALSE(m.taskbar());
      sim.advance(5999);
      EXPECT_EQ(sim.fake.display.offs, 0);
      sim.advance(60000);
      EXPECT_EQ(sim.fake.process.runs, c.runs);
      EXPECT_EQ(sim.fake.power.calls, c.power);
      EXPECT_EQ(sim.fake.display.offs, c.displayOffs);
      EXPECT_EQ(refusals(sim), refused && c.refusal ? Texts{c.refusal} : Texts{});
      EXPECT_FALSE(sim.program.ended());
    }
  }
}

TEST(PowerOffDialog, StandbyClosesTheDialogFirstAndHidesTheMainWindowAfterTheResume) {
  Sim sim;
  sim.start();
  Form1& m = sim.program.form<Form1>();
  Form19& d = open(sim);
  sim.fake.tray.mouse(1, 1);
  bool dialogDuringSleep = true, mainDuringSleep = false;
  sim.fake.power.whileAsleep = [&] {
    dialogDuringSleep = sim.program.existing<Form19>() != nullptr;
    mainDuringSleep = m.visible();
  };
  choose(sim, d.Option4);
  sim.click(d.Command1);
  EXPECT_FALSE(dialogDuringSleep);
  EXPECT_TRUE(mainDuringSleep);
  EXPECT_FALSE(m.visible());
  EXPECT_EQ(sim.fake.power.calls, Calls{"suspend"});
}

TEST(PowerOffDialog, TheStandbyButtonHidesPlainlyAfterTheResumeEvenWhenStandbyIsRefused) {
  for (bool refused : {false, true}) {
    SCOPED_TRACE(refused ? "refused" : "slept");
    Sim sim;
    sim.fake.power.refuses = refused;
    sim.start();
    Form1& m = sim.program.form<Form1>();
    bool visibleDuringSleep = false;
    sim.fake.power.whileAsleep = [&] { visibleDuringSleep = m.visible(); };
    sim.run([&] { m.Command18.press(); });
    EXPECT_TRUE(visibleDuringSleep);
    EXPECT_FALSE(m.visible());
    EXPECT_TRUE(m.taskbar());  // not a close request
    EXPECT_EQ(sim.fake.power.calls, Calls{"suspend"});
  }
}

TEST(PowerOffDialog, CancelAfterChangingTheChoiceDoesNothingAndTheNextOpeningForgetsIt) {
  Sim sim;
  sim.start();
  Form1& m = sim.program.form<Form1>();
  Form19& d = open(sim);
  choose(sim, d.Option1);
  EXPECT_FALSE(d.Option6.value());
  sim.click(d.Command2);
  EXPECT_EQ(sim.program.existing<Form19>(), nullptr);
  EXPECT_FALSE(m.visible());  // stays away until the user restores it
  sim.advance(60000);
  EXPECT_TRUE(sim.fake.process.runs.empty());
  EXPECT_TRUE(sim.fake.power.calls.empty());
  EXPECT_EQ(sim.fake.display.offs, 0);

  Form19& again = open(sim);
  EXPECT_TRUE(again.Option6.value());
  EXPECT_FALSE(again.Option1.value());
}

}  // namespace
}  // namespace qv
