#pragma once
// The reminder slots window: twenty-four framed rows of hour, minute and
// message, in two columns of twelve, and the balloon option. The behaviour is
// in schedule/reminder_slots.cpp.

#include <string>
#include <utility>

#include "runtime/control_array.h"
#include "runtime/form.h"

namespace qv {

class Form17 : public Form {
 public:
  static constexpr int kNumber = 17;
  static constexpr int kSlots = 24;
  explicit Form17(Program& program)
      : Form(program, "Form17", {.caption = "多段提醒", .width = 12375, .height = 9510}) {}

  // Slot k (0 .. 23): its frame inside Frame1, twelve to a column.
  static Twips slotAt(int k) { return {k < 12 ? 120 : 6120, 240 + 720 * (k % 12), 5895, 735}; }
  // Field f of a slot (0 hour, 1 minute, 2 message), inside the slot's frame.
  static Twips fieldAt(int f) {
    constexpr Twips fields[] = {
        {120, 300, 735, 315}, {1200, 300, 615, 315}, {1920, 300, 3855, 315}};
    return fields[f];
  }

  // Slot k owns Combo(3k+1) hour, Combo(3k+2) minute and Combo(3k+3) message.
  ComboBox& hour(int k) const { return Combo.number(3 * k + 1); }
  ComboBox& minute(int k) const { return Combo.number(3 * k + 2); }
  ComboBox& message(int k) const { return Combo.number(3 * k + 3); }

  // clang-format off
  Frame Frame1{*this, "Frame1", {120, 0, 12135, 8955}, {.text = "多段提醒设置"}};
  // Frame2 .. Frame25: the slot frames, captioned with the slot's number.
  ControlArray<Frame> Slot{*this, "Frame", 2, kSlots, [this](int k) {
    return std::pair{slotAt(k), Design{.text = std::to_string(k), .parent = &Frame1}};
  }};
  // Label1 .. Label24: the "：" between hour and minute.
  ControlArray<Label> Colon{*this, "Label", 1, kSlots, [this](int k) {
    return std::pair{Twips{960, 345, 240, 255}, Design{.text = "：", .parent = &Slot[k]}};
  }};
  // Combo1 .. Combo72, three to a slot.
  ControlArray<ComboBox> Combo{*this, "Combo", 1, 3 * kSlots, [this](int i) {
    return std::pair{fieldAt(i % 3), Design{.parent = &Slot[i / 3]}};
  }};
  CheckBox Check1{*this, "Check1", {240, 9060, 3600, 255}, {.text = "开启多段提醒气泡提示"}};
  CommandButton Command1{*this, "Command1", {8760, 9000, 1095, 375}, {.text = "应用"}};
  CommandButton Command3{*this, "Command3", {9960, 9000, 1095, 375}, {.text = "默认"}};
  CommandButton Command2{*this, "Command2", {11160, 9000, 1095, 375}, {.text = "取消"}};
  // clang-format on
};

}  // namespace qv
