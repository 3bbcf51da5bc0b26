#include "app/tray_icon.h"

#include <utility>

#include "forms/form1.h"
#include "platform/tray.h"
#include "runtime/program.h"

namespace qv {
namespace {

// No graphics-library token or bitmap handles: the view paints the picture.
struct ReadoutIcon {
  TrayIconData record;
};

// The record as the platform takes it. Results are not examined.
void send(Program& program, TrayAction action, const TrayRecord& record) {
  TrayIconData data;
  data.id = record.id;
  data.fields = record.fields;
  data.tip = record.tip;
  data.infoText = record.infoText;
  data.infoTitle = record.infoTitle;
  data.infoKind = record.infoKind;
  if (record.fields & trayfield::message) describeTrayIcon(program, data, "quorvane", "Quorvane");
  program.platform().tray.notify(action, data);
}

}  // namespace

void AddTrayIcon(Program& program, const Form& owner, const std::string& tip) {
  TrayRecord& r = program.state<TrayRecord>();
  r.owner = &owner;
  r.id = 1;
  r.fields = trayfield::message | trayfield::icon | trayfield::tip;
  r.tip = tip;
  send(program, TrayAction::Add, r);
}

void RemoveTrayIcon(Program& program) {
  send(program, TrayAction::Delete, program.state<TrayRecord>());
}

void ShowTrayBalloon(Program& program, const Form& owner, const std::string& text,
                     const std::string& title, int kind) {
  TrayRecord& r = program.state<TrayRecord>();
  r.owner = &owner;
  r.id = 1;
  r.fields = trayfield::info;
  r.infoKind = kind;
  r.infoTitle = title;
  r.infoText = text;
  send(program, TrayAction::Modify, r);
}

void SetTrayTip(Program& program, const std::string& tip) {
  TrayRecord& r = program.state<TrayRecord>();
  r.tip = tip;
  r.fields = trayfield::tip;
  send(program, TrayAction::Modify, r);
}

void describeTrayIcon(Program& program, TrayIconData& data, std::string name, std::string title) {
  const Form1& f = program.form<Form1>();
  data.menu.clear();
  for (const Control* c : f.controls())
    if (c->kind() == ControlKind::Menu && c->parent() == &f.F66 && c->visible())
      data.menu.push_back({c->name(), c->text(), c->enabled()});
  data.name = std::move(name);
  data.title = std::move(title);
}

TrayIconData& readoutIconRecord(Program& program) {
  return program.state<ReadoutIcon>().record;
}

void removeReadoutIcon(Program& program) {
  program.platform().tray.notify(TrayAction::Delete, readoutIconRecord(program));
}

void trayMouse(Program& program, int button) {
  program.dispatch([&program, button] {
    Form1& f = program.form<Form1>();
    if (f.onMouseMove) f.onMouseMove(button);
  });
}

void installTrayMouse(Program& program) {
  program.platform().tray.onMouse = [&program](int, int button) { trayMouse(program, button); };
  // The same entry of the same menu as when the program pops the menu up.
  program.platform().tray.onMenu = [&program](int, const std::string& item) {
    program.dispatch([&program, item] {
      Form1& f = program.form<Form1>();
      Control* c = f.find(item);
      if (c && c->kind() == ControlKind::Menu && c->parent() == &f.F66 && c->visible() &&
          c->enabled())
        c->click();
    });
  };
}

}  // namespace qv
