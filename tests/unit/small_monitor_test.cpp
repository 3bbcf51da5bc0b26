// The small monitor window's timeline, colours and lifetime.

#include <gtest/gtest.h>

#include <functional>

#include "forms/form1.h"
#include "forms/form3.h"
#include "forms/form5.h"
#include "support/sim.h"

namespace qv {
namespace {

using test::Sim;

int visibleFrame(Form3& f) {
  int shown = 0, count = 0;
  Image* frames[] = {&f.Image1, &f.Image2, &f.Image3, &f.Image4, &f.Image5};
  for (int k = 0; k < 5; ++k)
    if (frames[k]->visible()) {
      shown = k + 1;
      ++count;
    }
  return count > 1 ? -1 : shown;
}

TEST(SmallMonitor, AnimatesUntilItsFirstTicksThenShowsTheFourReadings) {
  Sim sim;
  sim.fake.thermal.set(3187);
  sim.fake.disks.set(38);
  sim.start();
  Form3& f = sim.program.form<Form3>();
  EXPECT_TRUE(f.visible());
  EXPECT_TRUE(f.topmost());
  EXPECT_EQ(f.caption(), "检测中...");
  EXPECT_EQ(f.Label1.text(), "CPU温度");
  std::vector<int> frames;
  for (int k = 0; k < 7; ++k) {
    frames.push_back(visibleFrame(f));
    sim.advance(100);
  }
  EXPECT_EQ(frames, (std::vector<int>{1, 1, 2, 3, 4, 5, 1}));

  sim.advance(6000 - 700);  // first ticks: the readings are still the start values
  EXPECT_EQ(f.Label1.text(), "CPU温度：0℃");
  EXPECT_EQ(f.Label4.text(), "硬盘温度：0℃");
  EXPECT_EQ(f.Label2.text(), "内存使用率：0%");
  EXPECT_EQ(f.Label3.text(), "CPU使用率：0%");
  EXPECT_EQ(f.caption(), "12月9日");  // the weekday is not known yet
  EXPECT_EQ(visibleFrame(f), 0);
  sim.advance(1000);
  EXPECT_EQ(visibleFrame(f), 0);  // the animation ended for good

  sim.advance(24000);  // 30 s: CPU at 8 s, disk at 21 s
  EXPECT_EQ(f.Label1.text(), "CPU温度：45.5℃");
  EXPECT_EQ(f.Label4.text(), "硬盘温度：38℃");
  f.Label5.setText("(三)");
  sim.advance(6000);
  EXPECT_EQ(f.caption(), "12月9日(三)");
}

TEST(SmallMonitor, CopiesTheReadoutColoursOnItsOwnTimers) {
  Sim sim;
  sim.start();
  Form1& m = sim.program.form<Form1>();
  Form3& f = sim.program.form<Form3>();
  sim.advance(6000);
  m.Label16.setForeColour(colours::warning);
  m.Label31.setForeColour(colours::warning);
  m.Label115.setForeColour(colours::warning);  // the memory warning paints only this
  sim.advance(6000);
  EXPECT_EQ(f.Label1.foreColour(), colours::warning);
  EXPECT_EQ(f.Label4.foreColour(), colours::warning);
  EXPECT_EQ(f.Label2.foreColour(), colours::readout);
  EXPECT_EQ(f.Label3.foreColour(), colours::readout);
}

TEST(SmallMonitor, OpenedByItsLinkAndByTheSettingsCheckBoxClosedByItsCloseBox) {
  Sim sim;
  sim.fake.store.put("a", "a", "status", "1");
  sim.start();
  Form1& m = sim.program.form<Form1>();
  EXPECT_FALSE(sim.program.form<Form3>().visible());

  sim.click(m.Label118);
  EXPECT_TRUE(sim.program.form<Form3>().visible());
  EXPECT_FALSE(m.visible());

  Form3* first = &sim.program.form<Form3>();
  sim.run([&] { sim.program.requestClose(*first); });
  EXPECT_EQ(sim.program.existing<Form3>(), nullptr);

  // Ticking and unticking the box both show it at once.
  for (int value : {0, 1}) {
    sim.run([&] { sim.program.form<Form5>().Check1.setValue(value); });
    EXPECT_TRUE(sim.program.form<Form3>().visible()) << value;
    sim.run([&] { sim.program.requestClose(sim.program.form<Form3>()); });
  }
  // A new one starts again from the animation.
  Form3& again = sim.program.form<Form3>();
  EXPECT_FALSE(again.visible());
  EXPECT_EQ(again.caption(), "检测中...");
}

// Every way the settings window closes, for tests of what its next creation
// brings.
struct Closer {
  const char* name;
  std::function<void(Program&, Form5&)> close;
};

Closer press(const char* name, CommandButton Form5::*button) {
  return {name, [button](Program&, Form5& f) { (f.*button).click(); }};
}

// With "自动启动时不开启小窗口监测" clear, each creation of the settings window
// shows the small window again, even one the user closed: whatever closed the
// settings window, the CPU-load check's read of its Combo2 creates it again
// within 6 s. Ticked, the small window stays away.
TEST(SmallMonitor, ShownAgainAtEachRecreationOfTheSettingsWindowWhileTheOptionIsClear) {
  const Closer closers[] = {
      press("Command1", &Form5::Command1),
      press("Command2", &Form5::Command2),
      press("Command3", &Form5::Command3),
      press("Command4", &Form5::Command4),
      press("Command5", &Form5::Command5),
      press("Command6", &Form5::Command6),
      press("Command7", &Form5::Command7),
      press("Command8", &Form5::Command8),
      press("Command9", &Form5::Command9),
      press("Command14", &Form5::Command14),
      press("Command22", &Form5::Command22),
      {"title bar", [](Program& p, Form5& f) { p.requestClose(f); }},
  };
  for (const char* option : {"0", "1"}) {
    for (const Closer& c : closers) {
      SCOPED_TRACE(std::string(c.name) + " with the option " + option);
      Sim sim;
      sim.fake.store.put("a", "a", "status", option);
      sim.start();
      sim.advance(20'000);
      // The user closes the small window; the tooltip timer brings it back hidden.
      sim.run([&] { sim.program.requestClose(sim.program.form<Form3>()); });
      sim.advance(8'000);
      ASSERT_FALSE(sim.program.form<Form3>().visible());

      sim.run([&] { c.close(sim.program, sim.program.form<Form5>()); });
      ASSERT_EQ(sim.program.existing<Form5>(), nullptr);
      const std::int64_t closed = sim.now();
      while (!sim.program.existing<Form5>() && sim.now() - closed < 6'000) sim.advance(100);
      EXPECT_NE(sim.program.existing<Form5>(), nullptr) << "not created again within 6 s";
      Form3* m = sim.program.existing<Form3>();
      EXPECT_EQ(m != nullptr && m->visible(), std::string(option) == "0");
    }
  }
}

}  // namespace
}  // namespace qv
