#include "display/small_monitor.h"

#include <array>
#include <string>

#include "forms/form1.h"
#include "forms/form3.h"
#include "forms/form5.h"
#include "runtime/program.h"

namespace qv {
namespace {

void create(Form3& f) {
  f.setTopmost(true);
  for (Timer* t : {&f.Timer1, &f.Timer3}) {
    t->setInterval(6000);
    t->start();
  }
  for (Timer* t : {&f.Timer2, &f.Timer4, &f.Timer5, &f.Timer6, &f.Timer7}) t->setInterval(100);
  f.Timer2.start();
  for (Timer* t : {&f.Timer4, &f.Timer5, &f.Timer6, &f.Timer7}) t->stop();
  f.Image1.show();
  for (Image* i : {&f.Image2, &f.Image3, &f.Image4, &f.Image5}) i->hide();
  f.setCaption("检测中...");
}

// One frame of the waiting animation: this frame shows, the next follows
// 100 ms later.
void frame(Form3& f, Image& shown, Timer& self, Timer& next) {
  for (Image* i : {&f.Image1, &f.Image2, &f.Image3, &f.Image4, &f.Image5})
    i->setVisible(i == &shown);
  self.stop();
  next.start();
}

// CPU temperature and disk lines, and the date in the title.
void temperatureLines(Form3& f) {
  Form1& main = f.program().form<Form1>();
  f.Label1.setText("CPU温度：" + main.Label16.text() + "℃");
  f.Label1.setForeColour(main.Label16.foreColour());
  f.Label4.setText("硬盘温度：" + main.Label31.text() + "℃");
  DateTime today = f.program().platform().clock.localTime();
  f.setCaption(std::to_string(today.month) + "月" + std::to_string(today.day) + "日" +
               f.Label5.text());
}

// Memory and CPU-load lines and the colours; the first run ends the
// animation for good.
void loadLines(Form3& f) {
  Form1& main = f.program().form<Form1>();
  f.Label2.setForeColour(main.Label6.foreColour());
  f.Label2.setText("内存使用率：" + main.Label6.text() + "%");
  f.Label3.setText("CPU使用率：" + main.Label20.text() + "%");
  f.Label3.setForeColour(main.Label20.foreColour());
  f.Label4.setForeColour(main.Label31.foreColour());
  for (Timer* t : {&f.Timer2, &f.Timer4, &f.Timer5, &f.Timer6, &f.Timer7}) t->stop();
  for (Image* i : {&f.Image1, &f.Image2, &f.Image3, &f.Image4, &f.Image5}) i->hide();
}

}  // namespace

void installSmallMonitor(Program& program) {
  program.onCreate<Form3>([](Form3& f) {
    f.onLoad = [&f] { create(f); };
    f.Timer2.onTick = [&f] { frame(f, f.Image1, f.Timer2, f.Timer4); };
    f.Timer4.onTick = [&f] { frame(f, f.Image2, f.Timer4, f.Timer5); };
    f.Timer5.onTick = [&f] { frame(f, f.Image3, f.Timer5, f.Timer6); };
    f.Timer6.onTick = [&f] { frame(f, f.Image4, f.Timer6, f.Timer7); };
    f.Timer7.onTick = [&f] { frame(f, f.Image5, f.Timer7, f.Timer2); };
    f.Timer1.onTick = [&f] { temperatureLines(f); };
    f.Timer3.onTick = [&f] { loadLines(f); };
  });

  // "小窗口监测" shows the small window and puts the main window away.
  program.onCreate<Form1>([](Form1& f) {
    Program& p = f.program();
    f.Label118.onClick = [&f, &p] {
      p.form<Form3>().show();
      p.requestClose(f);
    };
  });

  // Any click of "自动启动时不开启小窗口监测" shows the small window; restoring
  // the box when the settings window is created counts as a click unless the
  // stored value is 1.
  program.onCreate<Form5>([](Form5& f) {
    Program& p = f.program();
    f.Check1.onClick = [&p] { p.form<Form3>().show(); };
  });
}

}  // namespace qv
