#pragma once
// The main window: four live readouts with level bars, the memory figures,
// the shortcut panel, the three scheduled features and the hidden value
// holders the features share. Controls placed at left >= 11670 lie beyond
// the client area and are never seen.

#include "runtime/form.h"
#include "runtime/timer.h"

namespace qv {

namespace mainlook {
inline const Font caption{"Tahoma", 9};
inline const Font captionBold{"Tahoma", 9, true};
inline const Font readout{"Tahoma", 21.75, true};
inline const Font unit{"Tahoma", 12};
inline const Font animation{"Tahoma", 26.25, true, true};
inline const Font dateLine{"Tahoma", 10.5, true};
inline constexpr Colour teal = colours::readout;
inline constexpr Colour barLit = Colour::rgb(47, 198, 230);
inline constexpr Colour barUnlit = Colour::rgb(204, 243, 249);
inline constexpr Colour barOutline = Colour::rgb(126, 169, 216);
inline constexpr Colour linkBack = Colour::rgb(224, 224, 224);
inline constexpr Colour running = Colour::rgb(0, 160, 0);
inline constexpr Colour stopped = Colour::rgb(220, 0, 0);
// Value holders sit here, beyond the client area.
inline constexpr int holder = 12000;
}  // namespace mainlook

class Form1 : public Form {
 public:
  static constexpr int kNumber = 1;
  explicit Form1(Program& program)
      : Form(program, "Form1",
             {.caption = "Quorvane", .width = 11670, .height = 8505, .icon = "app"}) {}

  // One control per line, as in a form file.
  // clang-format off

  // Readouts: caption, value, unit and a ten-segment level bar per row.
  // CPU temperature
  Label Label105{*this, "Label105", {.left = 480, .top = 5160, .width = 960, .height = 240, .text = "CPU温度", .font = mainlook::caption, .fore = mainlook::teal}};
  Label Label36{*this, "Label36", {.left = 480, .top = 5400, .width = 960, .height = 240, .text = "CPU", .font = mainlook::caption, .fore = mainlook::teal}};
  Label Label16{*this, "Label16", {.left = 1440, .top = 5160, .width = 960, .height = 600, .font = mainlook::readout, .fore = mainlook::teal, .fit = true}};
  Label Label18{*this, "Label18", {.left = 2400, .top = 5310, .width = 360, .height = 330, .text = "℃", .font = mainlook::unit, .fore = mainlook::teal}};
  Label Label50{*this, "Label50", {.left = 2760, .top = 5400, .width = 135, .height = 375, .back = mainlook::barUnlit, .opaque = true}};
  Label Label51{*this, "Label51", {.left = 3000, .top = 5400, .width = 135, .height = 375, .back = mainlook::barUnlit, .opaque = true}};
  Label Label52{*this, "Label52", {.left = 3240, .top = 5400, .width = 135, .height = 375, .back = mainlook::barUnlit, .opaque = true}};
  Label Label53{*this, "Label53", {.left = 3480, .top = 5400, .width = 135, .height = 375, .back = mainlook::barUnlit, .opaque = true}};
  Label Label54{*this, "Label54", {.left = 3720, .top = 5400, .width = 135, .height = 375, .back = mainlook::barUnlit, .opaque = true}};
  Label Label55{*this, "Label55", {.left = 3960, .top = 5400, .width = 135, .height = 375, .back = mainlook::barUnlit, .opaque = true}};
  Label Label56{*this, "Label56", {.left = 4200, .top = 5400, .width = 135, .height = 375, .back = mainlook::barUnlit, .opaque = true}};
  Label Label57{*this, "Label57", {.left = 4440, .top = 5400, .width = 135, .height = 375, .back = mainlook::barUnlit, .opaque = true}};
  Label Label58{*this, "Label58", {.left = 4680, .top = 5400, .width = 135, .height = 375, .back = mainlook::barUnlit, .opaque = true}};
  Label Label59{*this, "Label59", {.left = 4920, .top = 5400, .width = 135, .height = 375, .back = mainlook::barUnlit, .opaque = true}};
  Shape Shape1{*this, "Shape1", {.left = 2760, .top = 5400, .width = 2295, .height = 375, .fore = mainlook::barOutline}};
  // Memory load (Label115 shows the hidden Label6)
  Label Label114{*this, "Label114", {.left = 480, .top = 6000, .width = 960, .height = 240, .text = "内存使用率", .font = mainlook::caption, .fore = mainlook::teal}};
  Label Label115{*this, "Label115", {.left = 1440, .top = 6000, .width = 960, .height = 600, .font = mainlook::readout, .fore = mainlook::teal, .fit = true}};
  Label Label23{*this, "Label23", {.left = 2400, .top = 6150, .width = 360, .height = 330, .text = "%", .font = mainlook::unit, .fore = mainlook::teal}};
  Label Label60{*this, "Label60", {.left = 2760, .top = 6240, .width = 135, .height = 375, .back = mainlook::barUnlit, .opaque = true}};
  Label Label61{*this, "Label61", {.left = 3000, .top = 6240, .width = 135, .height = 375, .back = mainlook::barUnlit, .opaque = true}};
  Label Label62{*this, "Label62", {.left = 3240, .top = 6240, .width = 135, .height = 375, .back = mainlook::barUnlit, .opaque = true}};
  Label Label63{*this, "Label63", {.left = 3480, .top = 6240, .width = 135, .height = 375, .back = mainlook::barUnlit, .opaque = true}};
  Label Label64{*this, "Label64", {.left = 3720, .top = 6240, .width = 135, .height = 375, .back = mainlook::barUnlit, .opaque = true}};
  Label Label65{*this, "Label65", {.left = 3960, .top = 6240, .width = 135, .height = 375, .back = mainlook::barUnlit, .opaque = true}};
  Label Label66{*this, "Label66", {.left = 4200, .top = 6240, .width = 135, .height = 375, .back = mainlook::barUnlit, .opaque = true}};
  Label Label67{*this, "Label67", {.left = 4440, .top = 6240, .width = 135, .height = 375, .back = mainlook::barUnlit, .opaque = true}};
  Label Label68{*this, "Label68", {.left = 4680, .top = 6240, .width = 135, .height = 375, .back = mainlook::barUnlit, .opaque = true}};
  Label Label69{*this, "Label69", {.left = 4920, .top = 6240, .width = 135, .height = 375, .back = mainlook::barUnlit, .opaque = true}};
  Shape Shape2{*this, "Shape2", {.left = 2760, .top = 6240, .width = 2295, .height = 375, .fore = mainlook::barOutline}};
  // CPU load
  Label Label116{*this, "Label116", {.left = 480, .top = 6840, .width = 960, .height = 240, .text = "CPU使用率", .font = mainlook::caption, .fore = mainlook::teal}};
  Label Label20{*this, "Label20", {.left = 1440, .top = 6840, .width = 960, .height = 600, .font = mainlook::readout, .fore = mainlook::teal, .fit = true}};
  Label Label9{*this, "Label9", {.left = 2400, .top = 6990, .width = 360, .height = 330, .text = "%", .font = mainlook::unit, .fore = mainlook::teal}};
  Label Label70{*this, "Label70", {.left = 2760, .top = 7080, .width = 135, .height = 375, .back = mainlook::barUnlit, .opaque = true}};
  Label Label71{*this, "Label71", {.left = 3000, .top = 7080, .width = 135, .height = 375, .back = mainlook::barUnlit, .opaque = true}};
  Label Label72{*this, "Label72", {.left = 3240, .top = 7080, .width = 135, .height = 375, .back = mainlook::barUnlit, .opaque = true}};
  Label Label73{*this, "Label73", {.left = 3480, .top = 7080, .width = 135, .height = 375, .back = mainlook::barUnlit, .opaque = true}};
  Label Label74{*this, "Label74", {.left = 3720, .top = 7080, .width = 135, .height = 375, .back = mainlook::barUnlit, .opaque = true}};
  Label Label75{*this, "Label75", {.left = 3960, .top = 7080, .width = 135, .height = 375, .back = mainlook::barUnlit, .opaque = true}};
  Label Label76{*this, "Label76", {.left = 4200, .top = 7080, .width = 135, .height = 375, .back = mainlook::barUnlit, .opaque = true}};
  Label Label77{*this, "Label77", {.left = 4440, .top = 7080, .width = 135, .height = 375, .back = mainlook::barUnlit, .opaque = true}};
  Label Label78{*this, "Label78", {.left = 4680, .top = 7080, .width = 135, .height = 375, .back = mainlook::barUnlit, .opaque = true}};
  Label Label79{*this, "Label79", {.left = 4920, .top = 7080, .width = 135, .height = 375, .back = mainlook::barUnlit, .opaque = true}};
  Shape Shape3{*this, "Shape3", {.left = 2760, .top = 7080, .width = 2295, .height = 375, .fore = mainlook::barOutline}};
  // Disk temperature
  Label Label117{*this, "Label117", {.left = 480, .top = 7680, .width = 960, .height = 240, .text = "硬盘温度", .font = mainlook::caption, .fore = mainlook::teal}};
  Label Label28{*this, "Label28", {.left = 480, .top = 7920, .width = 960, .height = 240, .text = "HDD", .font = mainlook::caption, .fore = mainlook::teal}};
  Label Label31{*this, "Label31", {.left = 1440, .top = 7680, .width = 960, .height = 600, .font = mainlook::readout, .fore = mainlook::teal, .fit = true}};
  Label Label29{*this, "Label29", {.left = 2400, .top = 7830, .width = 360, .height = 330, .text = "℃", .font = mainlook::unit, .fore = mainlook::teal}};
  Label Label80{*this, "Label80", {.left = 2760, .top = 7920, .width = 135, .height = 375, .back = mainlook::barUnlit, .opaque = true}};
  Label Label81{*this, "Label81", {.left = 3000, .top = 7920, .width = 135, .height = 375, .back = mainlook::barUnlit, .opaque = true}};
  Label Label82{*this, "Label82", {.left = 3240, .top = 7920, .width = 135, .height = 375, .back = mainlook::barUnlit, .opaque = true}};
  Label Label83{*this, "Label83", {.left = 3480, .top = 7920, .width = 135, .height = 375, .back = mainlook::barUnlit, .opaque = true}};
  Label Label84{*this, "Label84", {.left = 3720, .top = 7920, .width = 135, .height = 375, .back = mainlook::barUnlit, .opaque = true}};
  Label Label85{*this, "Label85", {.left = 3960, .top = 7920, .width = 135, .height = 375, .back = mainlook::barUnlit, .opaque = true}};
  Label Label86{*this, "Label86", {.left = 4200, .top = 7920, .width = 135, .height = 375, .back = mainlook::barUnlit, .opaque = true}};
  Label Label87{*this, "Label87", {.left = 4440, .top = 7920, .width = 135, .height = 375, .back = mainlook::barUnlit, .opaque = true}};
  Label Label88{*this, "Label88", {.left = 4680, .top = 7920, .width = 135, .height = 375, .back = mainlook::barUnlit, .opaque = true}};
  Label Label89{*this, "Label89", {.left = 4920, .top = 7920, .width = 135, .height = 375, .back = mainlook::barUnlit, .opaque = true}};
  Shape Shape4{*this, "Shape4", {.left = 2760, .top = 7920, .width = 2295, .height = 375, .fore = mainlook::barOutline}};

  // Memory figures in kilobytes.
  Label Label7{*this, "Label7", {.left = 240, .top = 1440, .width = 4800, .height = 240, .font = mainlook::caption}};
  Label Label5{*this, "Label5", {.left = 240, .top = 1680, .width = 4800, .height = 240, .font = mainlook::caption}};
  Label Label8{*this, "Label8", {.left = 240, .top = 1920, .width = 4800, .height = 240, .font = mainlook::caption}};
  Label Label25{*this, "Label25", {.left = 240, .top = 2160, .width = 4800, .height = 240, .font = mainlook::caption}};

  // Scanning animation until the first readings arrive.
  Label Label3{*this, "Label3", {.left = 2280, .top = 2880, .width = 3000, .height = 600, .font = mainlook::animation, .fore = mainlook::teal}};

  // Date line, weekly schedule status and day of the month of timed action 1.
  Label Label4{*this, "Label4", {.left = 240, .top = 360, .width = 5000, .height = 300, .font = mainlook::dateLine, .fore = mainlook::teal}};
  Label Label39{*this, "Label39", {.left = 240, .top = 720, .width = 1500, .height = 240, .text = "星期定时未启动", .font = mainlook::caption}};
  Label Label90{*this, "Label90", {.left = 1740, .top = 720, .width = 300, .height = 240, .font = mainlook::caption}};
  Label Label91{*this, "Label91", {.left = 2040, .top = 720, .width = 300, .height = 240, .font = mainlook::caption}};
  Label Label92{*this, "Label92", {.left = 2340, .top = 720, .width = 300, .height = 240, .font = mainlook::caption}};
  Label Label93{*this, "Label93", {.left = 2640, .top = 720, .width = 300, .height = 240, .font = mainlook::caption}};
  Label Label94{*this, "Label94", {.left = 2940, .top = 720, .width = 300, .height = 240, .font = mainlook::caption}};
  Label Label95{*this, "Label95", {.left = 3240, .top = 720, .width = 300, .height = 240, .font = mainlook::caption}};
  Label Label96{*this, "Label96", {.left = 3540, .top = 720, .width = 300, .height = 240, .font = mainlook::caption}};
  Label Label97{*this, "Label97", {.left = 240, .top = 960, .width = 1500, .height = 240, .text = "每月几号定时:", .font = mainlook::caption}};
  Label Label98{*this, "Label98", {.left = 1740, .top = 960, .width = 900, .height = 240, .font = mainlook::caption}};

  // Limit lines.
  Label Label21{*this, "Label21", {.left = 240, .top = 3360, .width = 4920, .height = 240, .font = mainlook::caption}};
  Label Label22{*this, "Label22", {.left = 240, .top = 3600, .width = 4920, .height = 240, .font = mainlook::caption}};
  Label Label24{*this, "Label24", {.left = 240, .top = 3840, .width = 4920, .height = 240, .text = "检测中...", .font = mainlook::caption}};
  Label Label30{*this, "Label30", {.left = 240, .top = 4080, .width = 4920, .height = 240, .font = mainlook::caption}};
  Label Label37{*this, "Label37", {.left = 240, .top = 4320, .width = 4920, .height = 240, .font = mainlook::caption}};
  Label Label38{*this, "Label38", {.left = 240, .top = 4560, .width = 4920, .height = 240, .font = mainlook::caption}};

  // Shortcut panel: text links and picture buttons with their caption rows.
  Label Label120{*this, "Label120", {.left = 5520, .top = 1200, .width = 1080, .height = 270, .text = "时间和日期", .font = mainlook::caption, .fore = mainlook::teal, .back = mainlook::linkBack, .opaque = true, .tooltip = "时间和日期", .hand = true}};
  Label Label123{*this, "Label123", {.left = 6720, .top = 1200, .width = 1320, .height = 270, .text = "任务管理器", .font = mainlook::caption, .fore = mainlook::teal, .back = mainlook::linkBack, .opaque = true, .tooltip = "任务管理器", .hand = true}};
  Label Label119{*this, "Label119", {.left = 5520, .top = 1680, .width = 1080, .height = 270, .text = "系统属性", .font = mainlook::caption, .fore = mainlook::teal, .back = mainlook::linkBack, .opaque = true, .tooltip = "系统属性", .hand = true}};
  Label Label118{*this, "Label118", {.left = 6720, .top = 1680, .width = 1320, .height = 270, .text = "小窗口监测", .font = mainlook::caption, .fore = mainlook::teal, .back = mainlook::linkBack, .opaque = true, .tooltip = "小窗口监测", .hand = true}};
  Label Label128{*this, "Label128", {.left = 5520, .top = 2160, .width = 1080, .height = 270, .text = "弹出光驱", .font = mainlook::caption, .fore = mainlook::teal, .back = mainlook::linkBack, .opaque = true, .tooltip = "弹出光驱", .hand = true}};
  Label Label125{*this, "Label125", {.left = 6720, .top = 2160, .width = 1320, .height = 270, .text = "删除/增加程序", .font = mainlook::caption, .fore = mainlook::teal, .back = mainlook::linkBack, .opaque = true, .tooltip = "删除/增加程序", .hand = true}};
  Label Label1{*this, "Label1", {.left = 5520, .top = 2640, .width = 1080, .height = 270, .text = "计算器", .font = mainlook::caption, .fore = mainlook::teal, .tooltip = "计算器"}};
  Label Label113{*this, "Label113", {.left = 6720, .top = 2640, .width = 1320, .height = 270, .text = "多段提醒设置", .font = mainlook::caption, .fore = mainlook::teal, .back = mainlook::linkBack, .opaque = true, .tooltip = "多段提醒设置", .hand = true}};
  Image Image13{*this, "Image13", {.left = 8160, .top = 1200, .width = 720, .height = 720, .tooltip = "电源选项", .hand = true, .picture = "power"}};
  Image Image11{*this, "Image11", {.left = 9360, .top = 1150, .width = 720, .height = 720, .tooltip = "关闭显示器", .hand = true, .picture = "display"}};
  Image Image9{*this, "Image9", {.left = 10560, .top = 1160, .width = 720, .height = 720, .tooltip = "您确定要关闭计算机吗?", .hand = true, .picture = "shutdown"}};
  Image Image14{*this, "Image14", {.left = 8280, .top = 2205, .width = 720, .height = 720, .tooltip = "lnternet选项 ", .hand = true, .picture = "internet"}};
  Image Image12{*this, "Image12", {.left = 9420, .top = 2160, .width = 720, .height = 720, .tooltip = "退出本程序", .hand = true, .picture = "exit"}};
  Image Image10{*this, "Image10", {.left = 10560, .top = 2160, .width = 720, .height = 720, .tooltip = "主设置", .hand = true, .picture = "settings"}};
  Label Label17{*this, "Label17", {.left = 8085, .top = 1920, .width = 3540, .height = 255, .text = "  电源选项      关闭显示器     关闭计算机", .font = mainlook::caption, .fore = mainlook::teal}};
  Label Label2{*this, "Label2", {.left = 8040, .top = 2880, .width = 3600, .height = 255, .text = " lnternet选项    退出本程序       主设置 ", .font = mainlook::caption, .fore = mainlook::teal}};

  // Timed action 1.
  Label Label40{*this, "Label40", {.left = 5520, .top = 3360, .width = 1200, .height = 255, .text = "(定时)", .font = mainlook::captionBold, .fore = mainlook::teal}};
  Label Label109{*this, "Label109", {.left = 6720, .top = 3360, .width = 2400, .height = 255, .font = mainlook::caption}};
  ComboBox Combo1{*this, "Combo1", {.left = 5520, .top = 3660, .width = 660, .height = 315, .font = mainlook::caption, .style = ComboStyle::PickOnly}};
  Label Label41{*this, "Label41", {.left = 6210, .top = 3690, .width = 240, .height = 240, .text = "点", .font = mainlook::caption}};
  ComboBox Combo2{*this, "Combo2", {.left = 6450, .top = 3660, .width = 660, .height = 315, .font = mainlook::caption, .style = ComboStyle::PickOnly}};
  Label Label47{*this, "Label47", {.left = 7140, .top = 3690, .width = 240, .height = 240, .text = "分", .font = mainlook::caption}};
  OptionButton Option1{*this, "Option1", {.left = 7440, .top = 3675, .width = 720, .height = 285, .text = "关机", .font = mainlook::caption}};
  OptionButton Option2{*this, "Option2", {.left = 8160, .top = 3675, .width = 720, .height = 285, .text = "重启", .font = mainlook::caption}};
  OptionButton Option4{*this, "Option4", {.left = 8880, .top = 3675, .width = 720, .height = 285, .text = "待机", .font = mainlook::caption}};
  OptionButton Option5{*this, "Option5", {.left = 9600, .top = 3675, .width = 720, .height = 285, .text = "提醒", .font = mainlook::caption}};
  ComboBox Combo3{*this, "Combo3", {.left = 5520, .top = 4020, .width = 2760, .height = 315, .font = mainlook::caption}};
  CommandButton Command2{*this, "Command2", {.left = 8400, .top = 4012, .width = 900, .height = 330, .text = "确定", .font = mainlook::caption}};
  CommandButton Command14{*this, "Command14", {.left = 9360, .top = 4012, .width = 900, .height = 330, .text = "取消", .font = mainlook::caption}};
  Image Image4{*this, "Image4", {.left = 10380, .top = 4042, .width = 270, .height = 270, .visible = false, .picture = "running"}};
  Image Image5{*this, "Image5", {.left = 10380, .top = 4042, .width = 270, .height = 270, .visible = false, .picture = "stopped"}};
  Label Label13{*this, "Label13", {.left = 10680, .top = 4057, .width = 990, .height = 240, .font = mainlook::caption, .fore = mainlook::running}};
  Label Label15{*this, "Label15", {.left = 10680, .top = 4057, .width = 990, .height = 240, .font = mainlook::caption, .fore = mainlook::stopped}};
  Label Label12{*this, "Label12", {.left = 5520, .top = 4380, .width = 3600, .height = 255, .text = "定时未启动", .font = mainlook::caption}};
  Label Label10{*this, "Label10", {.left = 9240, .top = 4372, .width = 1080, .height = 270, .text = "启动定时", .font = mainlook::caption, .fore = mainlook::teal, .back = mainlook::linkBack, .opaque = true, .tooltip = "启动定时", .hand = true}};
  Label Label134{*this, "Label134", {.left = 10440, .top = 4372, .width = 1080, .height = 270, .text = "关闭定时", .font = mainlook::caption, .fore = mainlook::teal, .back = mainlook::linkBack, .opaque = true, .tooltip = "关闭定时", .hand = true}};

  // Timed action 2.
  Label Label48{*this, "Label48", {.left = 5520, .top = 4860, .width = 1200, .height = 255, .text = "(定时2)", .font = mainlook::captionBold, .fore = mainlook::teal}};
  ComboBox Combo10{*this, "Combo10", {.left = 5520, .top = 5160, .width = 660, .height = 315, .font = mainlook::caption, .style = ComboStyle::PickOnly}};
  Label Label49{*this, "Label49", {.left = 6210, .top = 5190, .width = 240, .height = 240, .text = "点", .font = mainlook::caption}};
  ComboBox Combo11{*this, "Combo11", {.left = 6450, .top = 5160, .width = 660, .height = 315, .font = mainlook::caption, .style = ComboStyle::PickOnly}};
  Label Label99{*this, "Label99", {.left = 7140, .top = 5190, .width = 240, .height = 240, .text = "分", .font = mainlook::caption}};
  CommandButton Command24{*this, "Command24", {.left = 7440, .top = 5152, .width = 900, .height = 330, .text = "确定", .font = mainlook::caption}};
  CommandButton Command25{*this, "Command25", {.left = 8400, .top = 5152, .width = 900, .height = 330, .text = "取消", .font = mainlook::caption}};
  Image Image8{*this, "Image8", {.left = 9420, .top = 5182, .width = 270, .height = 270, .visible = false, .picture = "running"}};
  Image Image7{*this, "Image7", {.left = 9420, .top = 5182, .width = 270, .height = 270, .visible = false, .picture = "stopped"}};
  Label Label101{*this, "Label101", {.left = 9720, .top = 5197, .width = 1200, .height = 240, .font = mainlook::caption, .fore = mainlook::running}};
  Label Label102{*this, "Label102", {.left = 9720, .top = 5197, .width = 1200, .height = 240, .font = mainlook::caption, .fore = mainlook::stopped}};
  Label Label103{*this, "Label103", {.left = 5520, .top = 5520, .width = 3000, .height = 255, .text = "定时2未启动", .font = mainlook::caption}};
  Label Label137{*this, "Label137", {.left = 8580, .top = 5512, .width = 960, .height = 270, .text = "定时2设置", .font = mainlook::caption, .fore = mainlook::teal, .back = mainlook::linkBack, .opaque = true, .tooltip = "定时2设置", .hand = true}};
  Label Label138{*this, "Label138", {.left = 9600, .top = 5512, .width = 960, .height = 270, .text = "启动定时2", .font = mainlook::caption, .fore = mainlook::teal, .back = mainlook::linkBack, .opaque = true, .tooltip = "启动定时2", .hand = true}};
  Label Label139{*this, "Label139", {.left = 10620, .top = 5512, .width = 960, .height = 270, .text = "关闭定时2", .font = mainlook::caption, .fore = mainlook::teal, .back = mainlook::linkBack, .opaque = true, .tooltip = "关闭定时2", .hand = true}};
  Label Label106{*this, "Label106", {.left = 5520, .top = 5880, .width = 1560, .height = 240, .text = "每月几号定时2:", .font = mainlook::caption}};
  Label Label107{*this, "Label107", {.left = 7080, .top = 5880, .width = 900, .height = 240, .font = mainlook::caption}};

  // Date reminder.
  Label Label100{*this, "Label100", {.left = 5520, .top = 6360, .width = 1500, .height = 255, .text = "(日程提醒)", .font = mainlook::captionBold, .fore = mainlook::teal}};
  ComboBox Combo4{*this, "Combo4", {.left = 5520, .top = 6660, .width = 840, .height = 315, .font = mainlook::caption, .style = ComboStyle::PickOnly}};
  Label Label122{*this, "Label122", {.left = 6375, .top = 6690, .width = 240, .height = 240, .text = "年", .font = mainlook::caption}};
  ComboBox Combo5{*this, "Combo5", {.left = 6600, .top = 6660, .width = 600, .height = 315, .font = mainlook::caption, .style = ComboStyle::PickOnly}};
  Label Label124{*this, "Label124", {.left = 7215, .top = 6690, .width = 240, .height = 240, .text = "月", .font = mainlook::caption}};
  ComboBox Combo6{*this, "Combo6", {.left = 7440, .top = 6660, .width = 600, .height = 315, .font = mainlook::caption, .style = ComboStyle::PickOnly}};
  Label Label126{*this, "Label126", {.left = 8055, .top = 6690, .width = 240, .height = 240, .text = "日", .font = mainlook::caption}};
  ComboBox Combo8{*this, "Combo8", {.left = 8280, .top = 6660, .width = 600, .height = 315, .font = mainlook::caption, .style = ComboStyle::PickOnly}};
  Label Label127{*this, "Label127", {.left = 8895, .top = 6690, .width = 240, .height = 240, .text = "点", .font = mainlook::caption}};
  ComboBox Combo9{*this, "Combo9", {.left = 9120, .top = 6660, .width = 660, .height = 315, .font = mainlook::caption, .style = ComboStyle::PickOnly}};
  Label Label129{*this, "Label129", {.left = 9795, .top = 6690, .width = 240, .height = 240, .text = "分", .font = mainlook::caption}};
  ComboBox Combo7{*this, "Combo7", {.left = 5520, .top = 7020, .width = 2760, .height = 315, .font = mainlook::caption}};
  CommandButton Command19{*this, "Command19", {.left = 8400, .top = 7012, .width = 900, .height = 330, .text = "确定", .font = mainlook::caption}};
  CommandButton Command20{*this, "Command20", {.left = 9360, .top = 7012, .width = 900, .height = 330, .text = "取消", .font = mainlook::caption}};
  Image Image6{*this, "Image6", {.left = 10380, .top = 7042, .width = 270, .height = 270, .visible = false, .picture = "running"}};
  Image Image1{*this, "Image1", {.left = 10380, .top = 7042, .width = 270, .height = 270, .visible = false, .picture = "stopped"}};
  Label Label44{*this, "Label44", {.left = 10680, .top = 7057, .width = 990, .height = 240, .font = mainlook::caption, .fore = mainlook::stopped}};
  Label Label45{*this, "Label45", {.left = 10680, .top = 7057, .width = 990, .height = 240, .font = mainlook::caption, .fore = mainlook::running}};
  Label Label46{*this, "Label46", {.left = 5520, .top = 7380, .width = 6000, .height = 255, .text = "日程提醒未启动", .font = mainlook::caption}};
  Label Label142{*this, "Label142", {.left = 5520, .top = 7740, .width = 1320, .height = 270, .text = "启动日程提醒", .font = mainlook::caption, .fore = mainlook::teal, .back = mainlook::linkBack, .opaque = true, .tooltip = "启动日程提醒", .hand = true}};
  Label Label143{*this, "Label143", {.left = 6960, .top = 7740, .width = 1320, .height = 270, .text = "关闭日程提醒", .font = mainlook::caption, .fore = mainlook::teal, .back = mainlook::linkBack, .opaque = true, .tooltip = "关闭日程提醒", .hand = true}};

  // Tray picture: the canvas and the text it shows.
  PictureBox Picture1{*this, "Picture1", {.left = mainlook::holder, .top = 0, .width = 240, .height = 240, .font = {"Tahoma", 9}, .fore = colours::white, .back = Colour::rgb(255, 0, 0)}};
  Label Label26{*this, "Label26", {.left = mainlook::holder, .top = 300, .width = 1200, .height = 285, .text = "0"}};

  // Value holders shared by the features.
  Label Label121{*this, "Label121", {.left = mainlook::holder, .top = 600, .width = 1200, .height = 285}};
  Label Label27{*this, "Label27", {.left = mainlook::holder, .top = 900, .width = 1200, .height = 285}};
  Label Label6{*this, "Label6", {.left = mainlook::holder, .top = 1200, .width = 1200, .height = 285, .fore = mainlook::teal}};
  Label Label32{*this, "Label32", {.left = mainlook::holder, .top = 1500, .width = 1200, .height = 285}};
  Label Label33{*this, "Label33", {.left = mainlook::holder, .top = 1800, .width = 1200, .height = 285}};
  Label Label34{*this, "Label34", {.left = mainlook::holder, .top = 2100, .width = 1200, .height = 285}};
  Label Label35{*this, "Label35", {.left = mainlook::holder, .top = 2400, .width = 1200, .height = 285}};
  Label Label19{*this, "Label19", {.left = mainlook::holder, .top = 2700, .width = 1200, .height = 285}};
  Label Label104{*this, "Label104", {.left = mainlook::holder, .top = 3000, .width = 1200, .height = 285}};
  Label Label14{*this, "Label14", {.left = mainlook::holder, .top = 3300, .width = 1200, .height = 285}};
  Label Label110{*this, "Label110", {.left = mainlook::holder, .top = 3600, .width = 1200, .height = 285}};
  Label Label43{*this, "Label43", {.left = mainlook::holder, .top = 3900, .width = 1200, .height = 285}};
  Label Label108{*this, "Label108", {.left = mainlook::holder, .top = 4200, .width = 1200, .height = 285}};
  Label Label111{*this, "Label111", {.left = mainlook::holder, .top = 4500, .width = 1200, .height = 285}};
  Label Label112{*this, "Label112", {.left = mainlook::holder, .top = 4800, .width = 1200, .height = 285}};
  TextBox Text1{*this, "Text1", {.left = mainlook::holder, .top = 5100, .width = 1200, .height = 285}};
  TextBox Text2{*this, "Text2", {.left = mainlook::holder, .top = 5400, .width = 1200, .height = 285}};
  TextBox Text3{*this, "Text3", {.left = mainlook::holder, .top = 5700, .width = 1200, .height = 285}};
  TextBox Text4{*this, "Text4", {.left = mainlook::holder, .top = 6000, .width = 1200, .height = 285}};
  TextBox Text5{*this, "Text5", {.left = mainlook::holder, .top = 6300, .width = 1200, .height = 285}};
  TextBox Text6{*this, "Text6", {.left = mainlook::holder, .top = 6600, .width = 1200, .height = 285}};
  TextBox Text7{*this, "Text7", {.left = mainlook::holder, .top = 6900, .width = 1200, .height = 285}};
  TextBox Text8{*this, "Text8", {.left = mainlook::holder, .top = 7200, .width = 1200, .height = 285}};
  TextBox Text9{*this, "Text9", {.left = mainlook::holder, .top = 7500, .width = 1200, .height = 285}};

  // Buttons pressed only by code.
  CommandButton Command7{*this, "Command7", {.left = mainlook::holder, .top = 7800, .width = 1200, .height = 285}};
  CommandButton Command15{*this, "Command15", {.left = mainlook::holder, .top = 8100, .width = 1200, .height = 285}};
  CommandButton Command18{*this, "Command18", {.left = mainlook::holder, .top = 8400, .width = 1200, .height = 285}};
  CommandButton Command21{*this, "Command21", {.left = mainlook::holder, .top = 8700, .width = 1200, .height = 285}};
  CommandButton Command22{*this, "Command22", {.left = mainlook::holder, .top = 9000, .width = 1200, .height = 285}};
  CommandButton Command23{*this, "Command23", {.left = mainlook::holder, .top = 9300, .width = 1200, .height = 285}};
  CommandButton Command27{*this, "Command27", {.left = mainlook::holder, .top = 9600, .width = 1200, .height = 285}};

  // The tray menu.
  Menu F66{*this, "F66", {.text = "F66", .visible = false}};
  Menu F33{*this, "F33", {.text = "退出", .parent = &F66}};

  // Timers; intervals and states are set by the start-up.
  Timer Timer1{*this, "Timer1"};
  Timer Timer2{*this, "Timer2"};
  Timer Timer3{*this, "Timer3"};
  Timer Timer4{*this, "Timer4"};
  Timer Timer5{*this, "Timer5"};
  Timer Timer6{*this, "Timer6"};
  Timer Timer7{*this, "Timer7"};
  Timer Timer8{*this, "Timer8"};
  Timer Timer9{*this, "Timer9"};
  Timer Timer10{*this, "Timer10"};
  Timer Timer11{*this, "Timer11"};
  Timer Timer12{*this, "Timer12"};
  Timer Timer13{*this, "Timer13"};
  Timer Timer14{*this, "Timer14"};
  Timer Timer15{*this, "Timer15"};
  Timer Timer16{*this, "Timer16"};
  Timer Timer17{*this, "Timer17"};
  Timer Timer18{*this, "Timer18"};
  Timer Timer19{*this, "Timer19"};
  Timer Timer20{*this, "Timer20"};
  Timer Timer21{*this, "Timer21"};
  Timer Timer22{*this, "Timer22"};
  Timer Timer23{*this, "Timer23"};
  Timer Timer24{*this, "Timer24"};
  Timer Timer25{*this, "Timer25"};
  Timer Timer26{*this, "Timer26"};
  Timer Timer27{*this, "Timer27"};
  Timer Timer28{*this, "Timer28"};
  Timer Timer29{*this, "Timer29"};
  Timer Timer30{*this, "Timer30"};
  Timer Timer31{*this, "Timer31"};
  Timer Timer32{*this, "Timer32"};
  Timer Timer33{*this, "Timer33"};
  Timer Timer34{*this, "Timer34"};
  Timer Timer35{*this, "Timer35"};
  Timer Timer36{*this, "Timer36"};
  Timer Timer37{*this, "Timer37"};
  Timer Timer38{*this, "Timer38"};
  Timer Timer39{*this, "Timer39"};
  // clang-format on
};

}  // namespace qv
