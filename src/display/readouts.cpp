#include "display/readouts.h"

#include <string>

#include "app/tray_icon.h"
#include "forms/form1.h"
#include "forms/form5.h"
#include "runtime/convert.h"
#include "runtime/program.h"
#include "sensing/cpu_usage.h"
#include "sensing/memory_status.h"
#include "sensing/temperature_sensor.h"

namespace qv {
namespace {

// The scanning animation's position.
struct Animation {
  int n = 0;
};

double valueOf(const Control& c) {
  return value(c.text());
}

// A reading of exactly 100 does not fit the tray picture in its usual size.
void shrinkPictureAt100(Form1& f, const Label& reading) {
  if (holds([&] { return valueOf(reading) == 100; })) f.Picture1.setFontSize(7.72);
}

void clamp(Label& reading, double low, double high) {
  if (holds([&] { return valueOf(reading) > high; })) reading.setText(text(high));
  if (holds([&] { return valueOf(reading) < low; })) reading.setText(text(low));
}

void cpuTemperature(Form1& f) {
  Program& p = f.program();
  attempt([&] { temperatures(p).QueryCPUTemperature(); });
  attempt([&] {
    f.Label16.setText(text(value(p.form<Form5>().Combo4.text()) + lead(f.Label121.text())));
  });
  f.Timer11.stop();
  // Far below zero means there is no sensor: stop asking for this run.
  if (holds([&] { return valueOf(f.Label16) < -37; })) {
    f.Timer6.stop();
    f.Label16.setText("0");
  }
  if (holds([&] { return valueOf(f.Label16) < 0; })) f.Label16.setText("0");
  if (holds([&] { return valueOf(f.Label16) > 100; })) f.Label16.setText("100");
  shrinkPictureAt100(f, f.Label16);
  f.Label32.setText("CPU温度：" + f.Label16.text() + "℃");
  attempt([&] { updateBar(f.Bar1, f.Shape1, "CPU温度", valueOf(f.Label16)); });
}

void cpuLoad(Form1& f) {
  f.Label20.setText(text(QueryCPUUsage(f.program())));
  clamp(f.Label20, 0, 100);
  shrinkPictureAt100(f, f.Label20);
  f.Label34.setText("CPU使用率：" + f.Label20.text() + "%");
  attempt([&] { updateBar(f.Bar3, f.Shape3, "CPU使用率", valueOf(f.Label20)); });
}

void memory(Form1& f) {
  Program& p = f.program();
  MemoryStatus m = QueryMemoryStatus(p);
  // A load that cannot be computed leaves the readout as it was.
  attempt([&] { f.Label6.setText(memoryLoad(m)); });
  f.Label5.setText("物理内存总数：" + kilobytes(m.totalPhysical) + "KB");
  f.Label7.setText("交换区大小：" + kilobytes(m.availablePageFile) + "KB");
  f.Label8.setText("物理内存可用数：" + kilobytes(m.availablePhysical) + "KB");
  f.Label25.setText("虚拟内存总数：" + kilobytes(m.totalVirtual) + "KB");
  f.Label115.setText(f.Label6.text());
  // Brings the application icon back if the tray lost it.
  AddTrayIcon(p, f, "");
  f.Label33.setText("内存使用率：" + f.Label6.text() + "%");
  clamp(f.Label6, 0, 100);
  shrinkPictureAt100(f, f.Label6);
  attempt([&] { updateBar(f.Bar2, f.Shape2, "内存使用率", valueOf(f.Label6)); });
}

void diskTemperature(Form1& f) {
  Program& p = f.program();
  f.Label35.setText("硬盘温度：" + f.Label31.text() + "℃");
  createTemperatures(p);
  attempt([&] { temperatures(p).QueryHDDTemperature(); });
  // Readings that are negative, zero or above 70 never reach the readout:
  // the last shown value stays.
  if (holds([&] { return lead(f.Label27.text()) < 0; })) f.Label27.setText("0");
  if (holds([&] { return valueOf(f.Label31) > 70; })) f.Label31.setText("70");
  if (holds([&] { return lead(f.Label27.text()) > 70; })) f.Label27.setText(f.Label31.text());
  if (holds([&] { return lead(f.Label27.text()) == 0; })) f.Label27.setText(f.Label31.text());
  f.Label31.setText(f.Label27.text());
  if (holds([&] { return valueOf(f.Label31) > 70; })) f.Label31.setText("70");
  attempt([&] { updateBar(f.Bar4, f.Shape4, "硬盘温度", valueOf(f.Label31)); });
}

// Once, 17 s after start: a negative disk reading means no disk sensor.
void missingDiskCheck(Form1& f) {
  if (holds([&] { return lead(f.Label27.text()) < 0; })) {
    f.Timer12.stop();
    f.Timer18.stop();
    f.Label31.setText("0");
  }
  if (holds([&] { return lead(f.Label16.text()) < 0; })) f.Timer12.stop();
  f.Timer12.stop();
}

void animate(Form1& f) {
  int& n = f.program().state<Animation>().n;
  f.Label3.setText(std::string(static_cast<std::size_t>(n + 2), ' ') + "---");
  n = n >= 16 ? 1 : n + 1;
}

}  // namespace

void updateBar(const ControlArray<Label>& segments, Shape& outline, const char* name, double v) {
  for (int k = 1; k <= 9; ++k)
    if (v >= 10 * k) segments[k - 1].setBackColour(mainlook::barLit);
  if (v == 100) segments[9].setBackColour(mainlook::barLit);
  for (int k = 1; k <= 10; ++k)
    if (v < 10 * k) segments[k - 1].setBackColour(mainlook::barUnlit);
  int lit = 0;
  for (Label& segment : segments) lit += segment.backColour() == mainlook::barLit;
  outline.setAccessibleName(std::string(name) + " " + std::to_string(lit) + "/10");
}

void installReadouts(Program& program) {
  installCpuSampler(program);
  program.onCreate<Form1>([](Form1& f) {
    f.Timer6.onTick = [&f] { cpuTemperature(f); };
    f.Timer8.onTick = [&f] { cpuLoad(f); };
    f.Timer3.onTick = [&f] { memory(f); };
    f.Timer18.onTick = [&f] { diskTemperature(f); };
    f.Timer12.onTick = [&f] { missingDiskCheck(f); };
    f.Timer11.onTick = [&f] { animate(f); };
  });
}

}  // namespace qv
