#include "settings/settings_window.h"

#include <string>

#include "forms/form1.h"
#include "forms/form5.h"
#include "runtime/program.h"
#include "settings/settings_store.h"

namespace qv {
namespace {

// The twelve limits and delays that "应用" saves, in its order, with their
// defaults.
struct Limit {
  ComboBox Form5::*field;
  const char* fallback;
};
constexpr Limit kLimits[] = {
    {&Form5::Combo1, "72"},  {&Form5::Combo2, "86"},  {&Form5::Combo3, "80"},
    {&Form5::Combo4, "0"},   {&Form5::Combo5, "56"},  {&Form5::Combo6, "12"},
    {&Form5::Combo7, "36"},  {&Form5::Combo9, "36"},  {&Form5::Combo10, "60"},
    {&Form5::Combo13, "80"}, {&Form5::Combo14, "58"}, {&Form5::Combo8, "36"},
};

void setDefaultLimits(Form5& f) {
  for (const Limit& l : kLimits) (f.*l.field).setText(l.fallback);
}

void create(Form5& f) {
  Program& p = f.program();

  // 1. The schedule tick.
  f.Timer1.setInterval(6600);

  // 2. Defaults.
  setDefaultLimits(f);
  f.Combo11.setText("900");
  f.Combo12.setText("80");
  f.Text15.setText("1600");
  f.Text16.setText("60");
  f.Combo17.setText("停用");
  f.Combo18.setText("20");
  f.Combo17.addItem("停用");

  // 3. Check boxes from their flags. Check1 starts ticked, so any stored
  // value but 1 changes it and runs its click.
  restoreFlag(p, f.Check1, "a");
  restoreFlag(p, f.Check2, "b");
  restoreFlag(p, f.Check3, "c");
  restoreFlag(p, f.Check4, "e");
  restoreFlag(p, f.Check5, "h");
  restoreFlag(p, f.Check6, "t");
  restoreFlag(p, f.Check7, "z");
  restoreFlag(p, f.Check8, "x");
  restoreFlag(p, f.Check9, "v");
  restoreFlag(p, f.Check10, "n");
  restoreFlag(p, f.Check11, "m");
  restoreFlag(p, f.Check12, "i");
  restoreFlag(p, f.Check13, "o");
  restoreFlag(p, f.Check14, "p");
  restoreFlag(p, f.Check15, "j");

  // 4. The second alarm tone.
  restoreText(p, f.Text15, "1600", "text15");
  restoreText(p, f.Text16, "60", "text16");

  // 5. The tray display choice; selecting a stored mode runs its click.
  restoreOption(p, f.Option1, "Option1");
  restoreOption(p, f.Option2, "Option2");
  restoreOption(p, f.Option3, "Option3");
  restoreOption(p, f.Option4, "Option4");
  restoreOption(p, f.Option5, "Option5");
  restoreOption(p, f.Option6, "Option6");

  // 6. Fields, shown as stored whether or not they are list items.
  restoreText(p, f.Combo17, "停用");
  restoreText(p, f.Combo18, "20");
  for (const Limit& l : kLimits) restoreText(p, f.*l.field, l.fallback);
  restoreText(p, f.Combo11, "900");
  restoreText(p, f.Combo12, "80");

  // 7. Lists (filling one leaves its text alone).
  f.Combo1.addRange(1, 100);
  f.Combo2.addRange(1, 101);
  f.Combo3.addRange(1, 101);
  f.Combo4.addRange(0, 37);
  f.Combo6.addRange(2, 30);
  f.Combo5.addRange(1, 56);
  f.Combo7.addRange(6, 38);
  f.Combo9.addRange(6, 60);
  f.Combo10.addRange(18, 2600);
  f.Combo12.addItem("0");
  f.Combo12.addRange(80, 120);
  f.Combo13.addRange(1, 101);
  f.Combo14.addRange(1, 70);
  f.Combo15.addItem("1600");
  f.Combo16.addItem("60");
  f.Combo17.addRange(1, 31);
  f.Combo8.addRange(6, 60);
  f.Combo4.addRange(-1, -37);
  for (const char* s : {"0", "300", "400", "500", "600", "700", "800", "888"}) f.Combo11.addItem(s);
  for (int s : {3,  6,  10, 16, 20, 26,  30,  36,  40,  46,  50,  56,  60,  66, 70,
                76, 80, 86, 90, 96, 100, 200, 300, 400, 500, 600, 700, 800, 888})
    f.Combo18.addItem(std::to_string(s));

  // 8. The mute.
  muteAlarm(f);
}

}  // namespace

void muteAlarm(Form5& f) {
  if (f.Check4.value() != 1) return;
  for (Control* c : std::initializer_list<Control*>{&f.Combo11, &f.Combo12, &f.Text15, &f.Text16})
    c->setText("0");
}

void installSettingsWindow(Program& program) {
  program.onCreate<Form5>([](Form5& f) {
    Program& p = f.program();
    f.onLoad = [&f] { create(f); };

    // The fields change only by picking from their lists.
    for (ComboBox* c : {&f.Combo1, &f.Combo2, &f.Combo3, &f.Combo4, &f.Combo5, &f.Combo6, &f.Combo7,
                        &f.Combo8, &f.Combo9, &f.Combo10, &f.Combo11, &f.Combo12, &f.Combo13,
                        &f.Combo14, &f.Combo17, &f.Combo18})
      c->acceptKey = [](char32_t) { return false; };

    // Apply limits and delays.
    f.Command1.onClick = [&f, &p] {
      for (const Limit& l : kLimits) saveText(p, f.*l.field);
      p.close(f);
    };
    // Defaults for the limits and delays, saved at once.
    f.Command3.onClick = [&f, &p] {
      setDefaultLimits(f);
      f.Command1.press();
      p.close(f);
    };
    // Apply the options; autostart follows the option at once.
    f.Command5.onClick = [&f, &p] {
      if (f.Check5.value() == 1) p.form<Form1>().Command21.press();
      if (f.Check5.value() == 0) p.form<Form1>().Command22.press();
      saveFlag(p, f.Check1, "a");
      saveFlag(p, f.Check2, "b");
      saveFlag(p, f.Check3, "c");
      saveFlag(p, f.Check4, "e");
      saveFlag(p, f.Check5, "h");
      saveFlag(p, f.Check14, "p");
      saveFlag(p, f.Check15, "j");
      saveText(p, f.Combo17);
      saveText(p, f.Combo18);
      p.close(f);
    };
    // Apply the alarm sound.
    f.Command14.onClick = [&f, &p] {
      saveText(p, f.Combo11);
      saveText(p, f.Combo12);
      p.close(f);
    };
    // Apply the weekly schedule.
    f.Command22.onClick = [&f, &p] {
      saveFlag(p, f.Check7, "z");
      saveFlag(p, f.Check8, "x");
      saveFlag(p, f.Check9, "v");
      saveFlag(p, f.Check10, "n");
      saveFlag(p, f.Check11, "m");
      saveFlag(p, f.Check12, "i");
      saveFlag(p, f.Check13, "o");
      p.close(f);
    };
    // The cancel buttons only close; the next read re-creates the window
    // from the store.
    for (CommandButton* b : {&f.Command2, &f.Command4, &f.Command6, &f.Command7, &f.Command9})
      b->onClick = [&f, &p] { p.close(f); };

    // The second tone's fields, saved from their pick lists.
    f.Command18.onClick = [&f, &p] {
      if (f.Combo15.text().empty()) attempt([&] { f.Combo15.setText("1600"); });
      f.Text15.setText(f.Combo15.text());
      saveText(p, f.Text15, "text15");
    };
    f.Command19.onClick = [&f, &p] {
      if (f.Combo16.text().empty()) attempt([&] { f.Combo16.setText("60"); });
      f.Text16.setText(f.Combo16.text());
      saveText(p, f.Text16, "text16");
    };
    // The date reminder's running flag.
    f.Command20.onClick = [&f, &p] {
      f.Check6.setValue(1);
      saveFlag(p, f.Check6, "t");
    };
    f.Command21.onClick = [&f, &p] {
      f.Check6.setValue(0);
      saveFlag(p, f.Check6, "t");
    };
  });
}

}  // namespace qv
