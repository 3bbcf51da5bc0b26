#pragma once
// The settings window: edits the limits, delays, alarm sound and options, and
// while it exists (usually hidden) holds their live values for every other
// feature.

#include <string>
#include <utility>

#include "runtime/form.h"
#include "runtime/timer.h"

namespace qv {

class Form5 : public Form {
 public:
  static constexpr int kNumber = 5;
  explicit Form5(Program& program)
      : Form(program, "Form5",
             {.caption = "设置", .width = 9810, .height = 8595, .icon = "settings"}) {}

  static constexpr const char* kNote =
      "说明：温度和负载读数来自系统传感器，仅供参考；自动关机等设置请谨慎使用。";

  // A captioned control inside a frame; `value` ticks a box or selects an option.
  static Design in(Frame& frame, std::string text, int value = 0) {
    return {.text = std::move(text), .parent = &frame, .value = value};
  }

  // One control per line, as in a form file; controls with no place are value
  // holders, never shown.
  // clang-format off

  // Frame "设置": limits and delays in two columns, the options, two button columns.
  Frame Frame1{*this, "Frame1", {120, 120, 9570, 4680}, {.text = "设置"}};
  Label Label1{*this, "Label1", {120, 390, 1900, 255}, in(Frame1, "CPU温度报警提示上限")};
  ComboBox Combo1{*this, "Combo1", {2040, 360, 1080, 315}, {.parent = &Frame1}};
  Label Label2{*this, "Label2", {3240, 390, 360, 255}, in(Frame1, "℃")};
  Label Label3{*this, "Label3", {120, 870, 1900, 255}, in(Frame1, "CPU使用率报警上限")};
  ComboBox Combo2{*this, "Combo2", {2040, 840, 1080, 315}, {.parent = &Frame1}};
  Label Label4{*this, "Label4", {3240, 870, 360, 255}, in(Frame1, "%")};
  Label Label5{*this, "Label5", {120, 1350, 1900, 255}, in(Frame1, "内存使用率报警上限")};
  ComboBox Combo3{*this, "Combo3", {2040, 1320, 1080, 315}, {.parent = &Frame1}};
  Label Label6{*this, "Label6", {3240, 1350, 360, 255}, in(Frame1, "%")};
  Label Label7{*this, "Label7", {120, 1830, 1900, 255}, in(Frame1, "硬盘温度报警提示上限")};
  ComboBox Combo5{*this, "Combo5", {2040, 1800, 1080, 315}, {.parent = &Frame1}};
  Label Label8{*this, "Label8", {3240, 1830, 360, 255}, in(Frame1, "℃")};
  Label Label9{*this, "Label9", {120, 2310, 1900, 255}, in(Frame1, "CPU温度校正")};
  ComboBox Combo4{*this, "Combo4", {2040, 2280, 1080, 315}, {.parent = &Frame1}};
  Label Label10{*this, "Label10", {3240, 2310, 360, 255}, in(Frame1, "℃")};
  Label Label11{*this, "Label11", {120, 2790, 1900, 255}, in(Frame1, "报警自动关机延时")};
  ComboBox Combo6{*this, "Combo6", {2040, 2760, 1080, 315}, {.parent = &Frame1}};
  Label Label12{*this, "Label12", {3240, 2790, 360, 255}, in(Frame1, "S")};
  Label Label13{*this, "Label13", {3840, 390, 2580, 255}, in(Frame1, "CPU温度报警动作延时")};
  ComboBox Combo7{*this, "Combo7", {6480, 360, 1080, 315}, {.parent = &Frame1}};
  Label Label14{*this, "Label14", {7680, 390, 360, 255}, in(Frame1, "S")};
  Label Label15{*this, "Label15", {3840, 870, 2580, 255}, in(Frame1, "内存使用率报警动作延时")};
  ComboBox Combo9{*this, "Combo9", {6480, 840, 1080, 315}, {.parent = &Frame1}};
  Label Label16{*this, "Label16", {7680, 870, 360, 255}, in(Frame1, "S")};
  Label Label17{*this, "Label17", {3840, 1350, 2580, 255}, in(Frame1, "CPU使用率报警动作延时")};
  ComboBox Combo10{*this, "Combo10", {6480, 1320, 1080, 315}, {.parent = &Frame1}};
  Label Label18{*this, "Label18", {7680, 1350, 360, 255}, in(Frame1, "S")};
  Label Label19{*this, "Label19", {3840, 1830, 2580, 255}, in(Frame1, "硬盘温度报警自动关机上限")};
  ComboBox Combo8{*this, "Combo8", {6480, 1800, 1080, 315}, {.parent = &Frame1}};
  Label Label20{*this, "Label20", {7680, 1830, 360, 255}, in(Frame1, "S")};
  Label Label21{*this, "Label21", {3840, 2310, 2580, 255}, in(Frame1, "CPU温度报警自动关机上限")};
  ComboBox Combo13{*this, "Combo13", {6480, 2280, 1080, 315}, {.parent = &Frame1}};
  Label Label22{*this, "Label22", {7680, 2310, 360, 255}, in(Frame1, "℃")};
  Label Label23{*this, "Label23", {3840, 2790, 2580, 255}, in(Frame1, "硬盘温度报警自动关机上限")};
  ComboBox Combo14{*this, "Combo14", {6480, 2760, 1080, 315}, {.parent = &Frame1}};
  Label Label24{*this, "Label24", {7680, 2790, 360, 255}, in(Frame1, "℃")};
  CommandButton Command1{*this, "Command1", {8400, 360, 960, 330}, in(Frame1, "应用")};
  CommandButton Command2{*this, "Command2", {8400, 840, 960, 330}, in(Frame1, "取消")};
  CommandButton Command3{*this, "Command3", {8400, 1320, 960, 330}, in(Frame1, "默认")};
  CheckBox Check2{*this, "Check2", {120, 3240, 3600, 255}, in(Frame1, "CPU温度报警自动关机")};
  CheckBox Check3{*this, "Check3", {3840, 3240, 3600, 255}, in(Frame1, "硬盘温度报警自动关机")};
  CheckBox Check4{*this, "Check4", {120, 3510, 3600, 255}, in(Frame1, "取消报警声音")};
  CheckBox Check5{*this, "Check5", {3840, 3510, 3600, 255}, in(Frame1, "开机自动启动")};
  CheckBox Check1{*this, "Check1", {120, 3780, 3600, 255}, in(Frame1, "自动启动时不开启小窗口监测", 1)};
  CheckBox Check15{*this, "Check15", {3840, 3780, 3600, 255}, in(Frame1, "开启多段提醒")};
  CheckBox Check14{*this, "Check14", {120, 4050, 4800, 255}, in(Frame1, "定时关机/重启/待机执行时不提示用户")};
  Label Label25{*this, "Label25", {120, 4350, 1500, 255}, in(Frame1, "每月几号定时")};
  ComboBox Combo17{*this, "Combo17", {1680, 4320, 1080, 315}, {.parent = &Frame1}};
  Label Label26{*this, "Label26", {3840, 4350, 2580, 255}, in(Frame1, "定时关机/重启/待机延时执行时间")};
  ComboBox Combo18{*this, "Combo18", {6480, 4320, 1080, 315}, {.parent = &Frame1}};
  Label Label27{*this, "Label27", {7680, 4350, 360, 255}, in(Frame1, "S")};
  CommandButton Command5{*this, "Command5", {8400, 3360, 960, 330}, in(Frame1, "应用")};
  CommandButton Command6{*this, "Command6", {8400, 3720, 960, 330}, in(Frame1, "取消")};

  // Frame "星期定时设置": the weekly schedule.
  Frame Frame2{*this, "Frame2", {120, 4920, 9570, 1080}, {.text = "星期定时设置"}};
  CheckBox Check7{*this, "Check7", {120, 420, 1020, 255}, in(Frame2, "星期一")};
  CheckBox Check8{*this, "Check8", {1200, 420, 1020, 255}, in(Frame2, "星期二")};
  CheckBox Check9{*this, "Check9", {2280, 420, 1020, 255}, in(Frame2, "星期三")};
  CheckBox Check10{*this, "Check10", {3360, 420, 1020, 255}, in(Frame2, "星期四")};
  CheckBox Check11{*this, "Check11", {4440, 420, 1020, 255}, in(Frame2, "星期五")};
  CheckBox Check12{*this, "Check12", {5520, 420, 1020, 255}, in(Frame2, "星期六")};
  CheckBox Check13{*this, "Check13", {6600, 420, 1020, 255}, in(Frame2, "星期日")};
  CommandButton Command22{*this, "Command22", {8400, 240, 960, 330}, in(Frame2, "应用")};
  CommandButton Command7{*this, "Command7", {8400, 630, 960, 330}, in(Frame2, "取消")};

  // Frame "报警声音设置": the first alarm tone.
  Frame Frame3{*this, "Frame3", {120, 6120, 9570, 720}, {.text = "报警声音设置"}};
  Label Label28{*this, "Label28", {120, 330, 1200, 255}, in(Frame3, "报警声音")};
  ComboBox Combo11{*this, "Combo11", {1320, 300, 1080, 315}, {.parent = &Frame3}};
  Label Label29{*this, "Label29", {4200, 330, 1440, 255}, in(Frame3, "报警声音长度")};
  ComboBox Combo12{*this, "Combo12", {5640, 300, 1080, 315}, {.parent = &Frame3}};
  CommandButton Command14{*this, "Command14", {7320, 270, 960, 330}, in(Frame3, "应用")};
  CommandButton Command4{*this, "Command4", {8400, 270, 960, 330}, in(Frame3, "取消")};

  // Frame "任务栏显示选择": what the readout icon shows; its apply button lies over it.
  Frame Frame4{*this, "Frame4", {120, 6960, 9570, 1080}, {.text = "任务栏显示选择"}};
  OptionButton Option1{*this, "Option1", {120, 330, 1200, 255}, in(Frame4, "CPU温度")};
  OptionButton Option2{*this, "Option2", {1320, 330, 1200, 255}, in(Frame4, "硬盘温度")};
  OptionButton Option3{*this, "Option3", {2520, 330, 1440, 255}, in(Frame4, "内存使用率")};
  OptionButton Option4{*this, "Option4", {3960, 330, 2160, 255}, in(Frame4, "自动循环切换监测", 1)};
  OptionButton Option5{*this, "Option5", {6120, 330, 1440, 255}, in(Frame4, "CPU使用率")};
  OptionButton Option6{*this, "Option6", {7560, 330, 840, 255}, in(Frame4, "星期")};
  CommandButton Command9{*this, "Command9", {8460, 270, 960, 330}, in(Frame4, "取消")};
  CommandButton Command8{*this, "Command8", {3360, 7680, 960, 330}, {.text = "应用"}};
  Label Label30{*this, "Label30", {120, 8160, 9570, 360}, {.text = kNote, .fore = colours::readout}};

  // Value holders.
  TextBox Text15{*this, "Text15"};
  TextBox Text16{*this, "Text16"};
  Label Label42{*this, "Label42"};
  Label Label43{*this, "Label43"};
  Label Label46{*this, "Label46"};
  ComboBox Combo15{*this, "Combo15", {}, {.style = ComboStyle::PickOnly}};
  ComboBox Combo16{*this, "Combo16", {}, {.style = ComboStyle::PickOnly}};
  CheckBox Check6{*this, "Check6"};
  CommandButton Command18{*this, "Command18"};
  CommandButton Command19{*this, "Command19"};
  CommandButton Command20{*this, "Command20"};
  CommandButton Command21{*this, "Command21"};

  // The schedule tick.
  Timer Timer1{*this, "Timer1"};
  // clang-format on
};

}  // namespace qv
