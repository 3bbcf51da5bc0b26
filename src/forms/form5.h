#pragma once
// The settings window: edits the limits, delays, alarm sound and options, and
// while it exists (usually hidden) holds their live values for every other
// feature. Controls at left >= 9810 are value holders, never seen.

#include "runtime/form.h"
#include "runtime/timer.h"

namespace qv {

class Form5 : public Form {
 public:
  static constexpr int kNumber = 5;
  explicit Form5(Program& program)
      : Form(program, "Form5",
             {.caption = "设置", .width = 9810, .height = 8595, .icon = "settings"}) {}

  // One control per line, as in a form file.
  // clang-format off

  // Frame "设置": limits and delays in two columns, the options, two button columns.
  Frame Frame1{*this, "Frame1", {.left = 120, .top = 120, .width = 9570, .height = 4680, .text = "设置", .font = {"Tahoma", 9}}};
  Label Label1{*this, "Label1", {.left = 120, .top = 390, .width = 1900, .height = 255, .text = "CPU温度报警提示上限", .font = {"Tahoma", 9}, .parent = &Frame1}};
  ComboBox Combo1{*this, "Combo1", {.left = 2040, .top = 360, .width = 1080, .height = 315, .font = {"Tahoma", 9}, .parent = &Frame1}};
  Label Label2{*this, "Label2", {.left = 3240, .top = 390, .width = 360, .height = 255, .text = "℃", .font = {"Tahoma", 9}, .parent = &Frame1}};
  Label Label3{*this, "Label3", {.left = 120, .top = 870, .width = 1900, .height = 255, .text = "CPU使用率报警上限", .font = {"Tahoma", 9}, .parent = &Frame1}};
  ComboBox Combo2{*this, "Combo2", {.left = 2040, .top = 840, .width = 1080, .height = 315, .font = {"Tahoma", 9}, .parent = &Frame1}};
  Label Label4{*this, "Label4", {.left = 3240, .top = 870, .width = 360, .height = 255, .text = "%", .font = {"Tahoma", 9}, .parent = &Frame1}};
  Label Label5{*this, "Label5", {.left = 120, .top = 1350, .width = 1900, .height = 255, .text = "内存使用率报警上限", .font = {"Tahoma", 9}, .parent = &Frame1}};
  ComboBox Combo3{*this, "Combo3", {.left = 2040, .top = 1320, .width = 1080, .height = 315, .font = {"Tahoma", 9}, .parent = &Frame1}};
  Label Label6{*this, "Label6", {.left = 3240, .top = 1350, .width = 360, .height = 255, .text = "%", .font = {"Tahoma", 9}, .parent = &Frame1}};
  Label Label7{*this, "Label7", {.left = 120, .top = 1830, .width = 1900, .height = 255, .text = "硬盘温度报警提示上限", .font = {"Tahoma", 9}, .parent = &Frame1}};
  ComboBox Combo5{*this, "Combo5", {.left = 2040, .top = 1800, .width = 1080, .height = 315, .font = {"Tahoma", 9}, .parent = &Frame1}};
  Label Label8{*this, "Label8", {.left = 3240, .top = 1830, .width = 360, .height = 255, .text = "℃", .font = {"Tahoma", 9}, .parent = &Frame1}};
  Label Label9{*this, "Label9", {.left = 120, .top = 2310, .width = 1900, .height = 255, .text = "CPU温度校正", .font = {"Tahoma", 9}, .parent = &Frame1}};
  ComboBox Combo4{*this, "Combo4", {.left = 2040, .top = 2280, .width = 1080, .height = 315, .font = {"Tahoma", 9}, .parent = &Frame1}};
  Label Label10{*this, "Label10", {.left = 3240, .top = 2310, .width = 360, .height = 255, .text = "℃", .font = {"Tahoma", 9}, .parent = &Frame1}};
  Label Label11{*this, "Label11", {.left = 120, .top = 2790, .width = 1900, .height = 255, .text = "报警自动关机延时", .font = {"Tahoma", 9}, .parent = &Frame1}};
  ComboBox Combo6{*this, "Combo6", {.left = 2040, .top = 2760, .width = 1080, .height = 315, .font = {"Tahoma", 9}, .parent = &Frame1}};
  Label Label12{*this, "Label12", {.left = 3240, .top = 2790, .width = 360, .height = 255, .text = "S", .font = {"Tahoma", 9}, .parent = &Frame1}};
  Label Label13{*this, "Label13", {.left = 3840, .top = 390, .width = 2580, .height = 255, .text = "CPU温度报警动作延时", .font = {"Tahoma", 9}, .parent = &Frame1}};
  ComboBox Combo7{*this, "Combo7", {.left = 6480, .top = 360, .width = 1080, .height = 315, .font = {"Tahoma", 9}, .parent = &Frame1}};
  Label Label14{*this, "Label14", {.left = 7680, .top = 390, .width = 360, .height = 255, .text = "S", .font = {"Tahoma", 9}, .parent = &Frame1}};
  Label Label15{*this, "Label15", {.left = 3840, .top = 870, .width = 2580, .height = 255, .text = "内存使用率报警动作延时", .font = {"Tahoma", 9}, .parent = &Frame1}};
  ComboBox Combo9{*this, "Combo9", {.left = 6480, .top = 840, .width = 1080, .height = 315, .font = {"Tahoma", 9}, .parent = &Frame1}};
  Label Label16{*this, "Label16", {.left = 7680, .top = 870, .width = 360, .height = 255, .text = "S", .font = {"Tahoma", 9}, .parent = &Frame1}};
  Label Label17{*this, "Label17", {.left = 3840, .top = 1350, .width = 2580, .height = 255, .text = "CPU使用率报警动作延时", .font = {"Tahoma", 9}, .parent = &Frame1}};
  ComboBox Combo10{*this, "Combo10", {.left = 6480, .top = 1320, .width = 1080, .height = 315, .font = {"Tahoma", 9}, .parent = &Frame1}};
  Label Label18{*this, "Label18", {.left = 7680, .top = 1350, .width = 360, .height = 255, .text = "S", .font = {"Tahoma", 9}, .parent = &Frame1}};
  Label Label19{*this, "Label19", {.left = 3840, .top = 1830, .width = 2580, .height = 255, .text = "硬盘温度报警自动关机上限", .font = {"Tahoma", 9}, .parent = &Frame1}};
  ComboBox Combo8{*this, "Combo8", {.left = 6480, .top = 1800, .width = 1080, .height = 315, .font = {"Tahoma", 9}, .parent = &Frame1}};
  Label Label20{*this, "Label20", {.left = 7680, .top = 1830, .width = 360, .height = 255, .text = "S", .font = {"Tahoma", 9}, .parent = &Frame1}};
  Label Label21{*this, "Label21", {.left = 3840, .top = 2310, .width = 2580, .height = 255, .text = "CPU温度报警自动关机上限", .font = {"Tahoma", 9}, .parent = &Frame1}};
  ComboBox Combo13{*this, "Combo13", {.left = 6480, .top = 2280, .width = 1080, .height = 315, .font = {"Tahoma", 9}, .parent = &Frame1}};
  Label Label22{*this, "Label22", {.left = 7680, .top = 2310, .width = 360, .height = 255, .text = "℃", .font = {"Tahoma", 9}, .parent = &Frame1}};
  Label Label23{*this, "Label23", {.left = 3840, .top = 2790, .width = 2580, .height = 255, .text = "硬盘温度报警自动关机上限", .font = {"Tahoma", 9}, .parent = &Frame1}};
  ComboBox Combo14{*this, "Combo14", {.left = 6480, .top = 2760, .width = 1080, .height = 315, .font = {"Tahoma", 9}, .parent = &Frame1}};
  Label Label24{*this, "Label24", {.left = 7680, .top = 2790, .width = 360, .height = 255, .text = "℃", .font = {"Tahoma", 9}, .parent = &Frame1}};
  CommandButton Command1{*this, "Command1", {.left = 8400, .top = 360, .width = 960, .height = 330, .text = "应用", .font = {"Tahoma", 9}, .parent = &Frame1}};
  CommandButton Command2{*this, "Command2", {.left = 8400, .top = 840, .width = 960, .height = 330, .text = "取消", .font = {"Tahoma", 9}, .parent = &Frame1}};
  CommandButton Command3{*this, "Command3", {.left = 8400, .top = 1320, .width = 960, .height = 330, .text = "默认", .font = {"Tahoma", 9}, .parent = &Frame1}};
  CheckBox Check2{*this, "Check2", {.left = 120, .top = 3240, .width = 3600, .height = 255, .text = "CPU温度报警自动关机", .font = {"Tahoma", 9}, .parent = &Frame1}};
  CheckBox Check3{*this, "Check3", {.left = 3840, .top = 3240, .width = 3600, .height = 255, .text = "硬盘温度报警自动关机", .font = {"Tahoma", 9}, .parent = &Frame1}};
  CheckBox Check4{*this, "Check4", {.left = 120, .top = 3510, .width = 3600, .height = 255, .text = "取消报警声音", .font = {"Tahoma", 9}, .parent = &Frame1}};
  CheckBox Check5{*this, "Check5", {.left = 3840, .top = 3510, .width = 3600, .height = 255, .text = "开机自动启动", .font = {"Tahoma", 9}, .parent = &Frame1}};
  CheckBox Check1{*this, "Check1", {.left = 120, .top = 3780, .width = 3600, .height = 255, .text = "自动启动时不开启小窗口监测", .font = {"Tahoma", 9}, .parent = &Frame1, .value = 1}};
  CheckBox Check15{*this, "Check15", {.left = 3840, .top = 3780, .width = 3600, .height = 255, .text = "开启多段提醒", .font = {"Tahoma", 9}, .parent = &Frame1}};
  CheckBox Check14{*this, "Check14", {.left = 120, .top = 4050, .width = 4800, .height = 255, .text = "定时关机/重启/待机执行时不提示用户", .font = {"Tahoma", 9}, .parent = &Frame1}};
  Label Label25{*this, "Label25", {.left = 120, .top = 4350, .width = 1500, .height = 255, .text = "每月几号定时", .font = {"Tahoma", 9}, .parent = &Frame1}};
  ComboBox Combo17{*this, "Combo17", {.left = 1680, .top = 4320, .width = 1080, .height = 315, .font = {"Tahoma", 9}, .parent = &Frame1}};
  Label Label26{*this, "Label26", {.left = 3840, .top = 4350, .width = 2580, .height = 255, .text = "定时关机/重启/待机延时执行时间", .font = {"Tahoma", 9}, .parent = &Frame1}};
  ComboBox Combo18{*this, "Combo18", {.left = 6480, .top = 4320, .width = 1080, .height = 315, .font = {"Tahoma", 9}, .parent = &Frame1}};
  Label Label27{*this, "Label27", {.left = 7680, .top = 4350, .width = 360, .height = 255, .text = "S", .font = {"Tahoma", 9}, .parent = &Frame1}};
  CommandButton Command5{*this, "Command5", {.left = 8400, .top = 3360, .width = 960, .height = 330, .text = "应用", .font = {"Tahoma", 9}, .parent = &Frame1}};
  CommandButton Command6{*this, "Command6", {.left = 8400, .top = 3720, .width = 960, .height = 330, .text = "取消", .font = {"Tahoma", 9}, .parent = &Frame1}};

  // Frame "星期定时设置": the weekly schedule.
  Frame Frame2{*this, "Frame2", {.left = 120, .top = 4920, .width = 9570, .height = 1080, .text = "星期定时设置", .font = {"Tahoma", 9}}};
  CheckBox Check7{*this, "Check7", {.left = 120, .top = 420, .width = 1020, .height = 255, .text = "星期一", .font = {"Tahoma", 9}, .parent = &Frame2}};
  CheckBox Check8{*this, "Check8", {.left = 1200, .top = 420, .width = 1020, .height = 255, .text = "星期二", .font = {"Tahoma", 9}, .parent = &Frame2}};
  CheckBox Check9{*this, "Check9", {.left = 2280, .top = 420, .width = 1020, .height = 255, .text = "星期三", .font = {"Tahoma", 9}, .parent = &Frame2}};
  CheckBox Check10{*this, "Check10", {.left = 3360, .top = 420, .width = 1020, .height = 255, .text = "星期四", .font = {"Tahoma", 9}, .parent = &Frame2}};
  CheckBox Check11{*this, "Check11", {.left = 4440, .top = 420, .width = 1020, .height = 255, .text = "星期五", .font = {"Tahoma", 9}, .parent = &Frame2}};
  CheckBox Check12{*this, "Check12", {.left = 5520, .top = 420, .width = 1020, .height = 255, .text = "星期六", .font = {"Tahoma", 9}, .parent = &Frame2}};
  CheckBox Check13{*this, "Check13", {.left = 6600, .top = 420, .width = 1020, .height = 255, .text = "星期日", .font = {"Tahoma", 9}, .parent = &Frame2}};
  CommandButton Command22{*this, "Command22", {.left = 8400, .top = 240, .width = 960, .height = 330, .text = "应用", .font = {"Tahoma", 9}, .parent = &Frame2}};
  CommandButton Command7{*this, "Command7", {.left = 8400, .top = 630, .width = 960, .height = 330, .text = "取消", .font = {"Tahoma", 9}, .parent = &Frame2}};

  // Frame "报警声音设置": the first alarm tone.
  Frame Frame3{*this, "Frame3", {.left = 120, .top = 6120, .width = 9570, .height = 720, .text = "报警声音设置", .font = {"Tahoma", 9}}};
  Label Label28{*this, "Label28", {.left = 120, .top = 330, .width = 1200, .height = 255, .text = "报警声音", .font = {"Tahoma", 9}, .parent = &Frame3}};
  ComboBox Combo11{*this, "Combo11", {.left = 1320, .top = 300, .width = 1080, .height = 315, .font = {"Tahoma", 9}, .parent = &Frame3}};
  Label Label29{*this, "Label29", {.left = 4200, .top = 330, .width = 1440, .height = 255, .text = "报警声音长度", .font = {"Tahoma", 9}, .parent = &Frame3}};
  ComboBox Combo12{*this, "Combo12", {.left = 5640, .top = 300, .width = 1080, .height = 315, .font = {"Tahoma", 9}, .parent = &Frame3}};
  CommandButton Command14{*this, "Command14", {.left = 7320, .top = 270, .width = 960, .height = 330, .text = "应用", .font = {"Tahoma", 9}, .parent = &Frame3}};
  CommandButton Command4{*this, "Command4", {.left = 8400, .top = 270, .width = 960, .height = 330, .text = "取消", .font = {"Tahoma", 9}, .parent = &Frame3}};

  // Frame "任务栏显示选择": what the readout icon shows; its apply button lies over it.
  Frame Frame4{*this, "Frame4", {.left = 120, .top = 6960, .width = 9570, .height = 1080, .text = "任务栏显示选择", .font = {"Tahoma", 9}}};
  OptionButton Option1{*this, "Option1", {.left = 120, .top = 330, .width = 1200, .height = 255, .text = "CPU温度", .font = {"Tahoma", 9}, .parent = &Frame4}};
  OptionButton Option2{*this, "Option2", {.left = 1320, .top = 330, .width = 1200, .height = 255, .text = "硬盘温度", .font = {"Tahoma", 9}, .parent = &Frame4}};
  OptionButton Option3{*this, "Option3", {.left = 2520, .top = 330, .width = 1440, .height = 255, .text = "内存使用率", .font = {"Tahoma", 9}, .parent = &Frame4}};
  OptionButton Option4{*this, "Option4", {.left = 3960, .top = 330, .width = 2160, .height = 255, .text = "自动循环切换监测", .font = {"Tahoma", 9}, .parent = &Frame4, .value = 1}};
  OptionButton Option5{*this, "Option5", {.left = 6120, .top = 330, .width = 1440, .height = 255, .text = "CPU使用率", .font = {"Tahoma", 9}, .parent = &Frame4}};
  OptionButton Option6{*this, "Option6", {.left = 7560, .top = 330, .width = 840, .height = 255, .text = "星期", .font = {"Tahoma", 9}, .parent = &Frame4}};
  CommandButton Command9{*this, "Command9", {.left = 8460, .top = 270, .width = 960, .height = 330, .text = "取消", .font = {"Tahoma", 9}, .parent = &Frame4}};
  CommandButton Command8{*this, "Command8", {.left = 3360, .top = 7680, .width = 960, .height = 330, .text = "应用", .font = {"Tahoma", 9}}};
  Label Label30{*this, "Label30", {.left = 120, .top = 8160, .width = 9570, .height = 360, .text = "说明：温度和负载读数来自系统传感器，仅供参考；自动关机等设置请谨慎使用。", .font = {"Tahoma", 9}, .fore = colours::readout}};

  // Value holders.
  TextBox Text15{*this, "Text15", {.left = 10200, .top = 0, .width = 1200, .height = 285}};
  TextBox Text16{*this, "Text16", {.left = 10200, .top = 360, .width = 1200, .height = 285}};
  Label Label42{*this, "Label42", {.left = 10200, .top = 720, .width = 1200, .height = 285}};
  Label Label43{*this, "Label43", {.left = 10200, .top = 1080, .width = 1200, .height = 285}};
  Label Label46{*this, "Label46", {.left = 10200, .top = 1440, .width = 1200, .height = 285}};
  ComboBox Combo15{*this, "Combo15", {.left = 10200, .top = 1800, .width = 1200, .height = 315, .style = ComboStyle::PickOnly}};
  ComboBox Combo16{*this, "Combo16", {.left = 10200, .top = 2160, .width = 1200, .height = 315, .style = ComboStyle::PickOnly}};
  CheckBox Check6{*this, "Check6", {.left = 10200, .top = 2520, .width = 1200, .height = 255}};
  CommandButton Command18{*this, "Command18", {.left = 10200, .top = 2880, .width = 1200, .height = 330}};
  CommandButton Command19{*this, "Command19", {.left = 10200, .top = 3240, .width = 1200, .height = 330}};
  CommandButton Command20{*this, "Command20", {.left = 10200, .top = 3600, .width = 1200, .height = 330}};
  CommandButton Command21{*this, "Command21", {.left = 10200, .top = 3960, .width = 1200, .height = 330}};

  // The schedule tick.
  Timer Timer1{*this, "Timer1"};
  // clang-format on
};

}  // namespace qv
