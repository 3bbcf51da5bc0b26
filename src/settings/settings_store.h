#pragma once
// The per-user store of strings by (application, section, key), and the
// value formats the windows use: control texts, option states as
// "True"/"False", and check box states as one-letter flags ("a", "a",
// "status") holding "0" or "1".

#include <cstdint>
#include <string>
#include <string_view>

namespace qv {

class Program;
class Control;
class OptionButton;
class CheckBox;

// The stored value, or `fallback` when the key, its section or its
// application is missing or the store cannot be read.
std::string ReadSetting(Program& program, std::string_view app, std::string_view section,
                        std::string_view key, std::string_view fallback = "");
// Stores the value; fails (a failed statement) when the store refuses.
void WriteSetting(Program& program, std::string_view app, std::string_view section,
                  std::string_view key, std::string_view value);

// Control keys live under ("MyApp", "Startup"); the key is the window name, a
// dot and the control name unless a bare name is given.
std::string controlKey(const Control& control);

// Each restore is one statement: a value the control rejects leaves it as it
// was.
void restoreText(Program& program, Control& control, std::string_view fallback = "",
                 std::string_view key = {});
void restoreOption(Program& program, OptionButton& option, std::string_view key = {});
// A flag's leading number, rounded; a missing flag reads as 0.
std::int64_t readFlag(Program& program, std::string_view letter);
void restoreFlag(Program& program, CheckBox& box, std::string_view letter);

void saveText(Program& program, const Control& control, std::string_view key = {});
void saveOption(Program& program, const OptionButton& option, std::string_view key = {});
void saveFlag(Program& program, const CheckBox& box, std::string_view letter);

}  // namespace qv
