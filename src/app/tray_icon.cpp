#include "app/tray_icon.h"

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
}

}  // namespace qv
