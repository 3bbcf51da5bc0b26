#pragma once
// The main window: four live readouts with level bars, the memory figures,
// the shortcut panel, the three scheduled features and the hidden value
// holders the features share.

#include <string>
#include <utility>

#include "runtime/control_array.h"
#include "runtime/form.h"
#include "runtime/timer.h"

namespace qv {

namespace mainlook {
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
// Beyond the client area: the tray picture's canvas is never seen.
inline constexpr int outside = 12000;

// A teal caption, a readout value, its unit.
inline Design tealText(std::string text) {
  return {.text = std::move(text), .fore = teal};
}
inline Design value() {
  return {.font = readout, .fore = teal, .fit = true};
}
inline Design unitOf(std::string text) {
  return {.text = std::move(text), .font = unit, .fore = teal};
}
// A group's bold title.
inline Design group(std::string text) {
  return {.text = std::move(text), .font = captionBold, .fore = teal};
}
// A text link: teal on grey with a hand pointer; its tooltip repeats it.
inline Design link(const std::string& text) {
  return {
      .text = text, .fore = teal, .back = linkBack, .opaque = true, .tooltip = text, .hand = true};
}
// The one link with neither background nor hand pointer.
inline Design bareLink(const std::string& text) {
  return {.text = text, .fore = teal, .tooltip = text};
}
// A picture button with its hint (its caption when none is given). The
// caption is drawn in the caption row below it, and is what a screen reader
// announces.
inline Design button(std::string caption, std::string picture, std::string hint = {}) {
  return {.tooltip = hint.empty() ? caption : std::move(hint),
          .hand = true,
          .picture = std::move(picture),
          .accessible = std::move(caption)};
}
// A running or stopped mark, hidden until a feature starts or stops.
inline Design mark(std::string picture) {
  return {.visible = false, .picture = std::move(picture)};
}
// A list the user can only pick from.
inline Design pickOnly() {
  return {.style = ComboStyle::PickOnly};
}
// Ten segments of a level bar, left to right along `top`.
inline auto bar(int top) {
  return [top](int k) {
    return std::pair{Twips{2760 + 240 * k, top, 135, 375},
                     Design{.back = barUnlit, .opaque = true}};
  };
}
}  // namespace mainlook

class Form1 : public Form {
 public:
  static constexpr int kNumber = 1;
  explicit Form1(Program& program)
      : Form(program, "Form1",
             {.caption = "Quorvane", .width = 11670, .height = 8505, .icon = "app"}) {}

  // One control per line, as in a form file; controls with no place are value
  // holders, never shown.
  // clang-format off

  // Readouts: caption, value, unit and a ten-segment level bar per row.
  // CPU temperature
  Label Label105{*this, "Label105", {480, 5160, 960, 240}, mainlook::tealText("CPU温度")};
  Label Label36{*this, "Label36", {480, 5400, 960, 240}, mainlook::tealText("CPU")};
  Label Label16{*this, "Label16", {1440, 5160, 960, 600}, mainlook::value()};
  Label Label18{*this, "Label18", {2400, 5310, 360, 330}, mainlook::unitOf("℃")};
  ControlArray<Label> Bar1{*this, "Label", 50, 10, mainlook::bar(5400)};
  Shape Shape1{*this, "Shape1", {2760, 5400, 2295, 375}, {.fore = mainlook::barOutline}};
  // Memory load (Label115 shows the hidden Label6)
  Label Label114{*this, "Label114", {480, 6000, 960, 240}, mainlook::tealText("内存使用率")};
  Label Label115{*this, "Label115", {1440, 6000, 960, 600}, mainlook::value()};
  Label Label23{*this, "Label23", {2400, 6150, 360, 330}, mainlook::unitOf("%")};
  ControlArray<Label> Bar2{*this, "Label", 60, 10, mainlook::bar(6240)};
  Shape Shape2{*this, "Shape2", {2760, 6240, 2295, 375}, {.fore = mainlook::barOutline}};
  // CPU load
  Label Label116{*this, "Label116", {480, 6840, 960, 240}, mainlook::tealText("CPU使用率")};
  Label Label20{*this, "Label20", {1440, 6840, 960, 600}, mainlook::value()};
  Label Label9{*this, "Label9", {2400, 6990, 360, 330}, mainlook::unitOf("%")};
  ControlArray<Label> Bar3{*this, "Label", 70, 10, mainlook::bar(7080)};
  Shape Shape3{*this, "Shape3", {2760, 7080, 2295, 375}, {.fore = mainlook::barOutline}};
  // Disk temperature
  Label Label117{*this, "Label117", {480, 7680, 960, 240}, mainlook::tealText("硬盘温度")};
  Label Label28{*this, "Label28", {480, 7920, 960, 240}, mainlook::tealText("HDD")};
  Label Label31{*this, "Label31", {1440, 7680, 960, 600}, mainlook::value()};
  Label Label29{*this, "Label29", {2400, 7830, 360, 330}, mainlook::unitOf("℃")};
  ControlArray<Label> Bar4{*this, "Label", 80, 10, mainlook::bar(7920)};
  Shape Shape4{*this, "Shape4", {2760, 7920, 2295, 375}, {.fore = mainlook::barOutline}};

  // Memory figures in kilobytes.
  Label Label7{*this, "Label7", {240, 1440, 4800, 240}};
  Label Label5{*this, "Label5", {240, 1680, 4800, 240}};
  Label Label8{*this, "Label8", {240, 1920, 4800, 240}};
  Label Label25{*this, "Label25", {240, 2160, 4800, 240}};

  // Scanning animation until the first readings arrive.
  Label Label3{*this, "Label3", {2280, 2880, 3000, 600}, {.font = mainlook::animation, .fore = mainlook::teal}};

  // Date line, weekly schedule status and day of the month of timed action 1.
  Label Label4{*this, "Label4", {240, 360, 5000, 300}, {.font = mainlook::dateLine, .fore = mainlook::teal}};
  Label Label39{*this, "Label39", {240, 720, 1500, 240}, {.text = "星期定时未启动"}};
  Label Label90{*this, "Label90", {1740, 720, 300, 240}};
  Label Label91{*this, "Label91", {2040, 720, 300, 240}};
  Label Label92{*this, "Label92", {2340, 720, 300, 240}};
  Label Label93{*this, "Label93", {2640, 720, 300, 240}};
  Label Label94{*this, "Label94", {2940, 720, 300, 240}};
  Label Label95{*this, "Label95", {3240, 720, 300, 240}};
  Label Label96{*this, "Label96", {3540, 720, 300, 240}};
  Label Label97{*this, "Label97", {240, 960, 1500, 240}, {.text = "每月几号定时:"}};
  Label Label98{*this, "Label98", {1740, 960, 900, 240}};

  // Limit lines.
  Label Label21{*this, "Label21", {240, 3360, 4920, 240}};
  Label Label22{*this, "Label22", {240, 3600, 4920, 240}};
  Label Label24{*this, "Label24", {240, 3840, 4920, 240}, {.text = "检测中..."}};
  Label Label30{*this, "Label30", {240, 4080, 4920, 240}};
  Label Label37{*this, "Label37", {240, 4320, 4920, 240}};
  Label Label38{*this, "Label38", {240, 4560, 4920, 240}};

  // Shortcut panel: text links and picture buttons with their caption rows.
  Label Label120{*this, "Label120", {5520, 1200, 1080, 270}, mainlook::link("时间和日期")};
  Label Label123{*this, "Label123", {6720, 1200, 1320, 270}, mainlook::link("任务管理器")};
  Label Label119{*this, "Label119", {5520, 1680, 1080, 270}, mainlook::link("系统属性")};
  Label Label118{*this, "Label118", {6720, 1680, 1320, 270}, mainlook::link("小窗口监测")};
  Label Label128{*this, "Label128", {5520, 2160, 1080, 270}, mainlook::link("弹出光驱")};
  Label Label125{*this, "Label125", {6720, 2160, 1320, 270}, mainlook::link("删除/增加程序")};
  Label Label1{*this, "Label1", {5520, 2640, 1080, 270}, mainlook::bareLink("计算器")};
  Label Label113{*this, "Label113", {6720, 2640, 1320, 270}, mainlook::link("多段提醒设置")};
  Image Image13{*this, "Image13", {8160, 1200, 720, 720}, mainlook::button("电源选项", "power")};
  Image Image11{*this, "Image11", {9360, 1150, 720, 720}, mainlook::button("关闭显示器", "display")};
  Image Image9{*this, "Image9", {10560, 1160, 720, 720},
               mainlook::button("关闭计算机", "shutdown", "您确定要关闭计算机吗?")};
  Image Image14{*this, "Image14", {8280, 2205, 720, 720},
                mainlook::button("Internet选项", "internet", "Internet选项 ")};
  Image Image12{*this, "Image12", {9420, 2160, 720, 720}, mainlook::button("退出本程序", "exit")};
  Image Image10{*this, "Image10", {10560, 2160, 720, 720}, mainlook::button("主设置", "settings")};
  Label Label17{*this, "Label17", {8085, 1920, 3540, 255},
                mainlook::tealText("  电源选项      关闭显示器     关闭计算机")};
  Label Label2{*this, "Label2", {8040, 2880, 3600, 255},
               mainlook::tealText(" Internet选项    退出本程序       主设置 ")};

  // Timed action 1.
  Label Label40{*this, "Label40", {5520, 3360, 1200, 255}, mainlook::group("(定时)")};
  Label Label109{*this, "Label109", {6720, 3360, 2400, 255}};
  ComboBox Combo1{*this, "Combo1", {5520, 3660, 660, 315}, mainlook::pickOnly()};
  Label Label41{*this, "Label41", {6210, 3690, 240, 240}, {.text = "点"}};
  ComboBox Combo2{*this, "Combo2", {6450, 3660, 660, 315}, mainlook::pickOnly()};
  Label Label47{*this, "Label47", {7140, 3690, 240, 240}, {.text = "分"}};
  OptionButton Option1{*this, "Option1", {7440, 3675, 720, 285}, {.text = "关机"}};
  OptionButton Option2{*this, "Option2", {8160, 3675, 720, 285}, {.text = "重启"}};
  OptionButton Option4{*this, "Option4", {8880, 3675, 720, 285}, {.text = "待机"}};
  OptionButton Option5{*this, "Option5", {9600, 3675, 720, 285}, {.text = "提醒"}};
  ComboBox Combo3{*this, "Combo3", {5520, 4020, 2760, 315}};
  CommandButton Command2{*this, "Command2", {8400, 4012, 900, 330}, {.text = "确定"}};
  CommandButton Command14{*this, "Command14", {9360, 4012, 900, 330}, {.text = "取消"}};
  Image Image4{*this, "Image4", {10380, 4042, 270, 270}, mainlook::mark("running")};
  Image Image5{*this, "Image5", {10380, 4042, 270, 270}, mainlook::mark("stopped")};
  Label Label13{*this, "Label13", {10680, 4057, 990, 240}, {.fore = mainlook::running}};
  Label Label15{*this, "Label15", {10680, 4057, 990, 240}, {.fore = mainlook::stopped}};
  Label Label12{*this, "Label12", {5520, 4380, 3600, 255}, {.text = "定时未启动"}};
  Label Label10{*this, "Label10", {9240, 4372, 1080, 270}, mainlook::link("启动定时")};
  Label Label134{*this, "Label134", {10440, 4372, 1080, 270}, mainlook::link("关闭定时")};

  // Timed action 2.
  Label Label48{*this, "Label48", {5520, 4860, 1200, 255}, mainlook::group("(定时2)")};
  ComboBox Combo10{*this, "Combo10", {5520, 5160, 660, 315}, mainlook::pickOnly()};
  Label Label49{*this, "Label49", {6210, 5190, 240, 240}, {.text = "点"}};
  ComboBox Combo11{*this, "Combo11", {6450, 5160, 660, 315}, mainlook::pickOnly()};
  Label Label99{*this, "Label99", {7140, 5190, 240, 240}, {.text = "分"}};
  CommandButton Command24{*this, "Command24", {7440, 5152, 900, 330}, {.text = "确定"}};
  CommandButton Command25{*this, "Command25", {8400, 5152, 900, 330}, {.text = "取消"}};
  Image Image8{*this, "Image8", {9420, 5182, 270, 270}, mainlook::mark("running")};
  Image Image7{*this, "Image7", {9420, 5182, 270, 270}, mainlook::mark("stopped")};
  Label Label101{*this, "Label101", {9720, 5197, 1200, 240}, {.fore = mainlook::running}};
  Label Label102{*this, "Label102", {9720, 5197, 1200, 240}, {.fore = mainlook::stopped}};
  Label Label103{*this, "Label103", {5520, 5520, 3000, 255}, {.text = "定时2未启动"}};
  Label Label137{*this, "Label137", {8580, 5512, 960, 270}, mainlook::link("定时2设置")};
  Label Label138{*this, "Label138", {9600, 5512, 960, 270}, mainlook::link("启动定时2")};
  Label Label139{*this, "Label139", {10620, 5512, 960, 270}, mainlook::link("关闭定时2")};
  Label Label106{*this, "Label106", {5520, 5880, 1560, 240}, {.text = "每月几号定时2:"}};
  Label Label107{*this, "Label107", {7080, 5880, 900, 240}};

  // Date reminder.
  Label Label100{*this, "Label100", {5520, 6360, 1500, 255}, mainlook::group("(日程提醒)")};
  ComboBox Combo4{*this, "Combo4", {5520, 6660, 840, 315}, mainlook::pickOnly()};
  Label Label122{*this, "Label122", {6375, 6690, 240, 240}, {.text = "年"}};
  ComboBox Combo5{*this, "Combo5", {6600, 6660, 600, 315}, mainlook::pickOnly()};
  Label Label124{*this, "Label124", {7215, 6690, 240, 240}, {.text = "月"}};
  ComboBox Combo6{*this, "Combo6", {7440, 6660, 600, 315}, mainlook::pickOnly()};
  Label Label126{*this, "Label126", {8055, 6690, 240, 240}, {.text = "日"}};
  ComboBox Combo8{*this, "Combo8", {8280, 6660, 600, 315}, mainlook::pickOnly()};
  Label Label127{*this, "Label127", {8895, 6690, 240, 240}, {.text = "点"}};
  ComboBox Combo9{*this, "Combo9", {9120, 6660, 660, 315}, mainlook::pickOnly()};
  Label Label129{*this, "Label129", {9795, 6690, 240, 240}, {.text = "分"}};
  ComboBox Combo7{*this, "Combo7", {5520, 7020, 2760, 315}};
  CommandButton Command19{*this, "Command19", {8400, 7012, 900, 330}, {.text = "确定"}};
  CommandButton Command20{*this, "Command20", {9360, 7012, 900, 330}, {.text = "取消"}};
  Image Image6{*this, "Image6", {10380, 7042, 270, 270}, mainlook::mark("running")};
  Image Image1{*this, "Image1", {10380, 7042, 270, 270}, mainlook::mark("stopped")};
  Label Label44{*this, "Label44", {10680, 7057, 990, 240}, {.fore = mainlook::stopped}};
  Label Label45{*this, "Label45", {10680, 7057, 990, 240}, {.fore = mainlook::running}};
  Label Label46{*this, "Label46", {5520, 7380, 6000, 255}, {.text = "日程提醒未启动"}};
  Label Label142{*this, "Label142", {5520, 7740, 1320, 270}, mainlook::link("启动日程提醒")};
  Label Label143{*this, "Label143", {6960, 7740, 1320, 270}, mainlook::link("关闭日程提醒")};

  // Tray picture: the canvas and the text it shows.
  PictureBox Picture1{*this, "Picture1", {mainlook::outside, 0, 240, 240},
                      {.fore = colours::white, .back = Colour::rgb(255, 0, 0)}};
  Label Label26{*this, "Label26", {}, {.text = "0"}};

  // Value holders shared by the features.
  Label Label121{*this, "Label121"};
  Label Label27{*this, "Label27"};
  Label Label6{*this, "Label6", {}, {.fore = mainlook::teal}};
  Label Label32{*this, "Label32"};
  Label Label33{*this, "Label33"};
  Label Label34{*this, "Label34"};
  Label Label35{*this, "Label35"};
  Label Label19{*this, "Label19"};
  Label Label104{*this, "Label104"};
  Label Label14{*this, "Label14"};
  Label Label110{*this, "Label110"};
  Label Label43{*this, "Label43"};
  Label Label108{*this, "Label108"};
  Label Label111{*this, "Label111"};
  Label Label112{*this, "Label112"};
  TextBox Text1{*this, "Text1"};
  TextBox Text2{*this, "Text2"};
  TextBox Text3{*this, "Text3"};
  TextBox Text4{*this, "Text4"};
  TextBox Text5{*this, "Text5"};
  TextBox Text6{*this, "Text6"};
  TextBox Text7{*this, "Text7"};
  TextBox Text8{*this, "Text8"};
  TextBox Text9{*this, "Text9"};

  // Buttons pressed only by code.
  CommandButton Command7{*this, "Command7"};
  CommandButton Command15{*this, "Command15"};
  CommandButton Command18{*this, "Command18"};
  CommandButton Command21{*this, "Command21"};
  CommandButton Command22{*this, "Command22"};
  CommandButton Command23{*this, "Command23"};
  CommandButton Command27{*this, "Command27"};

  // The tray menu.
  Menu F66{*this, "F66", {}, {.text = "F66", .visible = false}};
  Menu F33{*this, "F33", {}, {.text = "退出", .parent = &F66}};

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
