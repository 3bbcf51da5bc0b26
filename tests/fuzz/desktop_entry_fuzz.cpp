// Desktop entries holding anything. Reading one and splitting its Exec never
// crash, and a split command always names a program. Taken as a program's
// path, the input round-trips: the Exec value the autostart entry writes for
// it reads back as exactly that one argument.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_support.h"
#include "platform/linux/desktop_entry.h"
#include "platform/linux/xdg_autostart.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);

  if (const auto entry = qv::lnx::parseDesktopEntry(input)) {
    const qv::lnx::ExecFields fields{qv::lnx::localizedName(*entry, "zh_CN.UTF-8"), entry->icon,
                                     "/usr/share/applications/x.desktop"};
    if (const auto argv = qv::lnx::splitExec(entry->exec, fields)) {
      FUZZ_CHECK(!argv->empty() && !argv->front().empty());
    }
  }

  // A path is one line of text without NUL; execValue refuses the rest.
  if (!input.empty() && input.find('\0') == std::string_view::npos) {
    if (const auto exec = qv::lnx::execValue(input)) {
      const auto entry = qv::lnx::parseDesktopEntry("[Desktop Entry]\nExec=" + *exec + "\n");
      FUZZ_CHECK(entry.has_value());
      const auto argv = qv::lnx::splitExec(entry->exec);
      FUZZ_CHECK(argv == std::vector<std::string>{std::string(input)});
    }
  }
  return 0;
}
