#include "settings/settings_store.h"

#include "runtime/control.h"
#include "runtime/convert.h"
#include "runtime/failure.h"
#include "runtime/form.h"
#include "runtime/program.h"

namespace qv {
namespace {
constexpr std::string_view kApp = "MyApp";
constexpr std::string_view kSection = "Startup";
}  // namespace

std::string ReadSetting(Program& program, std::string_view app, std::string_view section,
                        std::string_view key, std::string_view fallback) {
  auto stored = program.platform().settings.read(app, section, key);
  return stored ? *stored : std::string(fallback);
}

void WriteSetting(Program& program, std::string_view app, std::string_view section,
                  std::string_view key, std::string_view value) {
  if (!program.platform().settings.write(app, section, key, value))
    fail("the settings store refused the write");
}

std::string controlKey(const Control& control) {
  return control.form().name() + "." + control.name();
}

void restoreText(Program& program, Control& control, std::string_view fallback,
                 std::string_view key) {
  attempt([&] {
    std::string k = key.empty() ? controlKey(control) : std::string(key);
    control.setText(ReadSetting(program, kApp, kSection, k, fallback));
  });
}

void restoreOption(Program& program, OptionButton& option, std::string_view key) {
  attempt([&] {
    std::string k = key.empty() ? controlKey(option) : std::string(key);
    option.setValue(truth(ReadSetting(program, kApp, kSection, k)));
  });
}

std::int64_t readFlag(Program& program, std::string_view letter) {
  return whole(lead(ReadSetting(program, letter, letter, "status")));
}

void restoreFlag(Program& program, CheckBox& box, std::string_view letter) {
  attempt([&] { box.setValue(readFlag(program, letter)); });
}

void saveText(Program& program, const Control& control, std::string_view key) {
  attempt([&] {
    std::string k = key.empty() ? controlKey(control) : std::string(key);
    WriteSetting(program, kApp, kSection, k, control.text());
  });
}

void saveOption(Program& program, const OptionButton& option, std::string_view key) {
  attempt([&] {
    std::string k = key.empty() ? controlKey(option) : std::string(key);
    WriteSetting(program, kApp, kSection, k, truthText(option.value()));
  });
}

void saveFlag(Program& program, const CheckBox& box, std::string_view letter) {
  attempt([&] { WriteSetting(program, letter, letter, "status", text(box.value())); });
}

}  // namespace qv
