#include "app/main_window.h"

#include <string>

#include "app/commands.h"
#include "app/tray_icon.h"
#include "forms/form1.h"
#include "forms/form5.h"
#include "runtime/convert.h"
#include "runtime/program.h"
#include "sensing/temperature_sensor.h"
#include "settings/settings_store.h"

namespace qv {
namespace {

void startUp(Form1& f) {
  Program& p = f.program();

  // 1. The sensor object.
  createTemperatures(p);

  // 2. Timers off, except the readout picture and the display cycle.
  for (Timer* t : {&f.Timer1, &f.Timer31, &f.Timer13, &f.Timer7, &f.Timer37}) t->stop();
  f.Timer7.setInterval(62000);
  f.Timer10.stop();
  f.Timer13.stop();
  f.Timer14.start();
  f.Timer15.start();
  for (Timer* t :
       {&f.Timer16, &f.Timer17, &f.Timer20, &f.Timer21, &f.Timer22, &f.Timer23, &f.Timer26,
        &f.Timer27, &f.Timer28, &f.Timer29, &f.Timer30, &f.Timer32, &f.Timer33, &f.Timer34,
        &f.Timer35, &f.Timer36, &f.Timer37, &f.Timer38, &f.Timer39})
    t->stop();

  // 3. Initial texts. The four text fields hold the timed actions' target
  // times; these can never equal a clock reading.
  f.Label19.setText("定时未启动");
  f.Label108.setText("");
  f.Label111.setText("...");
  f.Label112.setText("...werq");
  f.Text1.setText("你");
  f.Text2.setText("们");
  f.Text8.setText("快");
  f.Text9.setText("乐");

  // 4. Intervals. The first read of the settings window creates it.
  f.Timer1.setInterval(6000);
  f.Timer2.setInterval(8000);
  f.Timer3.setInterval(8000);
  attempt([&] { f.Timer4.setInterval(milliseconds(p.form<Form5>().Combo7.text())); });
  attempt([&] { f.Timer5.setInterval(milliseconds(p.form<Form5>().Combo9.text())); });
  f.Timer6.setInterval(8000);
  f.Timer8.setInterval(8000);
  f.Timer9.setInterval(6000);
  f.Timer10.setInterval(6000);
  f.Timer11.setInterval(70);
  f.Timer12.setInterval(17000);
  for (Timer* t : {&f.Timer13, &f.Timer14, &f.Timer15, &f.Timer16, &f.Timer17})
    t->setInterval(6000);
  f.Timer18.setInterval(21000);
  attempt([&] { f.Timer19.setInterval(milliseconds(p.form<Form5>().Combo10.text())); });
  for (Timer* t : {&f.Timer20, &f.Timer21, &f.Timer22, &f.Timer23}) t->setInterval(6000);
  attempt([&] { f.Timer24.setInterval(milliseconds(p.form<Form5>().Combo7.text())); });
  attempt([&] { f.Timer25.setInterval(milliseconds(p.form<Form5>().Combo10.text())); });
  f.Timer26.setInterval(6000);
  for (Timer* t : {&f.Timer27, &f.Timer28, &f.Timer29, &f.Timer30}) t->setInterval(62000);
  f.Timer31.setInterval(6000);
  for (Timer* t : {&f.Timer32, &f.Timer33, &f.Timer34}) t->setInterval(62000);
  for (Timer* t : {&f.Timer35, &f.Timer36, &f.Timer37}) t->setInterval(6000);
  f.Timer38.setInterval(1000);
  f.Timer39.setInterval(62000);

  // 5. Links are underlined.
  for (Label* l : {&f.Label118, &f.Label119, &f.Label120, &f.Label123, &f.Label125, &f.Label128,
                   &f.Label10, &f.Label134, &f.Label137, &f.Label138, &f.Label139, &f.Label142,
                   &f.Label143, &f.Label113, &f.Label1})
    l->setUnderline(true);

  // 6. Readouts.
  for (Label* l : {&f.Label20, &f.Label16, &f.Label31, &f.Label6}) l->setText("0");

  // 7. Minutes "00" .. "09" and the reminder suggestions.
  for (ComboBox* c : {&f.Combo2, &f.Combo9, &f.Combo11})
    for (int m = 0; m <= 9; ++m) c->addItem("0" + std::to_string(m));
  for (ComboBox* c : {&f.Combo3, &f.Combo7})
    for (const char* s : {"会议！", "约会！", "生日！", "聚会！"}) c->addItem(s);

  // 8. State marks hidden.
  for (Image* i : {&f.Image5, &f.Image4, &f.Image6, &f.Image1, &f.Image7, &f.Image8}) i->hide();

  // 9. The application icon.
  AddTrayIcon(p, f, "");

  // 10. Numbers without leading zeros.
  f.Combo1.addRange(0, 23);
  f.Combo2.addRange(10, 59);
  f.Combo4.addRange(2007, 3000);
  f.Combo5.addRange(1, 12);
  f.Combo6.addRange(1, 31);
  f.Combo8.addRange(0, 23);
  f.Combo9.addRange(10, 59);
  f.Combo10.addRange(0, 23);
  f.Combo11.addRange(10, 59);

  // 11. Defaults.
  f.Combo3.setText("请输入提醒内容!");
  f.Combo7.setText("请输入提醒内容!");
  f.Combo1.setText("");
  f.Combo2.setText("");
  f.Combo4.setText("2007");
  f.Combo5.setText("1");
  f.Combo6.setText("1");
  f.Combo8.setText("0");
  f.Combo9.setText("00");
  f.Option5.setValue(true);
  f.Combo10.setText("");
  f.Combo11.setText("");

  // 12. The user's last choices; a value a chooser rejects leaves it as is.
  restoreText(p, f.Combo9, "00");
  restoreText(p, f.Combo8, "0");
  restoreText(p, f.Combo4, "2007");
  restoreText(p, f.Combo5, "1");
  restoreText(p, f.Combo6, "1");
  restoreText(p, f.Combo7, "请输入提醒内容!");
  restoreText(p, f.Combo1);
  restoreText(p, f.Combo2);
  restoreText(p, f.Combo10);
  restoreText(p, f.Combo11);
  restoreText(p, f.Combo3, "请输入提醒内容!");
  restoreOption(p, f.Option1);
  restoreOption(p, f.Option2);
  restoreOption(p, f.Option4);
  restoreOption(p, f.Option5);

  // 13. A date reminder that was running when the program last ended runs
  // again. (The flag is only read: overwriting it here would lose a running
  // reminder whenever the program ends before the settings window's first
  // tick re-sets it.)
  if (holds([&] { return readFlag(p, "t") != 0; })) f.Command19.press();
}

}  // namespace

void installMainWindow(Program& program) {
  installTrayMouse(program);
  program.onCreate<Form1>([](Form1& f) {
    Program& p = f.program();
    f.onLoad = [&f] { startUp(f); };

    // Closing only hides the window to the tray; it releases the sensor
    // object, which the disk timer creates again.
    f.onCloseRequest = [&f, &p] {
      releaseTemperatures(p);
      f.hide();
      f.setTaskbar(false);
      return true;
    };

    // Tray notifications arrive as mouse moves with a button state.
    f.onMouseMove = [&f](int button) {
      if (button == 1) {
        f.setState(WindowState::Normal);
        f.show();
        f.setTaskbar(true);
      } else if (button == 2) {
        f.popup(f.F66);
      }
    };

    // Exit at once; the tray icons are left to the desktop.
    f.Image12.onClick = [&p] { endProcess(p); };
    // Exit from the tray menu: both icons go first.
    f.F33.onClick = [&p] {
      RemoveTrayIcon(p);
      removeReadoutIcon(p);
      endProcess(p);
    };
  });
}

}  // namespace qv
