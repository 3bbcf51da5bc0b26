// /proc/stat holding anything: the CPU times never crash, a cut-off file
// reads as absent, other keys change nothing, and a reader kept across files
// (it reuses its buffer) reads each one as a fresh reader does.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "fuzz_support.h"
#include "platform/linux/proc_cpu.h"

namespace {

struct Reading {
  std::optional<int> count;
  std::optional<std::int64_t> idle;
  bool operator==(const Reading&) const = default;
};

Reading read(qv::lnx::ProcCpuTimes& cpu) {
  return {cpu.processorCount(), cpu.idleTime()};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using qv::fuzz::put;
  static const std::string root = (qv::fuzz::scratch() / "stat").string();
  static const std::string file = root + "/proc/stat";
  static qv::lnx::ProcCpuTimes kept(root);
  const std::string_view text(reinterpret_cast<const char*>(data), size);

  put(file, text);
  qv::lnx::ProcCpuTimes fresh(root);
  const Reading got = read(fresh);
  FUZZ_CHECK(read(kept) == got);
  if (got.count) FUZZ_CHECK(*got.count > 0);
  if (got.idle) FUZZ_CHECK(*got.idle >= 0);
  if (text.empty() || text.back() != '\n') {
    FUZZ_CHECK(got == Reading{});
    return 0;
  }

  put(file, std::string(text) + "intr 1 2 3\nctxt 99\nprocs_running 2\n");
  FUZZ_CHECK(read(fresh) == got);
  put(file, "btime 1700000000\n" + std::string(text));
  FUZZ_CHECK(read(kept) == got);
  return 0;
}
