// /proc/meminfo holding anything: the memory status never crashes, its
// figures stay in range, a cut-off file reads as absent, unknown fields change
// nothing, and a reader kept across files reads each one as a fresh one does.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "fuzz_support.h"
#include "platform/linux/proc_memory.h"

namespace {

using Status = std::optional<qv::MemoryStatus>;

bool same(const Status& a, const Status& b) {
  if (!a || !b) return !a && !b;
  return a->totalPhysical == b->totalPhysical && a->availablePhysical == b->availablePhysical &&
         a->totalPageFile == b->totalPageFile && a->availablePageFile == b->availablePageFile &&
         a->totalVirtual == b->totalVirtual && a->availableVirtual == b->availableVirtual;
}

bool plausible(std::int64_t bytes) {
  // Every figure is a kilobyte count of at most 2^50, or a sum of three.
  return bytes >= 0 && bytes <= (std::int64_t{3} << 60) && bytes % 1024 == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using qv::fuzz::put;
  static const std::string root = (qv::fuzz::scratch() / "meminfo").string();
  static const std::string file = root + "/proc/meminfo";
  static qv::lnx::ProcMemory kept(root);
  const std::string_view text(reinterpret_cast<const char*>(data), size);

  put(file, text);
  qv::lnx::ProcMemory fresh(root);
  const Status got = fresh.status();
  FUZZ_CHECK(same(kept.status(), got));
  if (got) {
    for (std::int64_t figure : {got->totalPhysical, got->availablePhysical, got->totalPageFile,
                                got->availablePageFile, got->totalVirtual, got->availableVirtual})
      FUZZ_CHECK(plausible(figure));
    FUZZ_CHECK(got->availableVirtual <= got->totalVirtual);
  }
  if (text.empty() || text.back() != '\n') {
    FUZZ_CHECK(!got);
    return 0;
  }

  put(file,
      std::string(text) + "Hugepagesize:       2048 kB\nDirectMap4k: 1 kB\nHardwareCorrupted:\n");
  FUZZ_CHECK(same(fresh.status(), got));
  put(file, "Zswap:  0 kB\n" + std::string(text));
  FUZZ_CHECK(same(kept.status(), got));
  return 0;
}
