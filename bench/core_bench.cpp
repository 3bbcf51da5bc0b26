// The whole program on the fake platform: what one minute of every running
// timer costs the core, without Qt or the operating system.

#include <benchmark/benchmark.h>

#include "support/sim.h"

namespace {

void SimulatedMinute(benchmark::State& state) {
  qv::test::Sim sim;
  sim.start();
  sim.advance(60'000);  // past the first readings
  for (auto _ : state) {
    sim.advance(60'000);
    // The fakes record every call; a long run must not measure their growth.
    sim.fake.tray.calls.clear();
    sim.fake.tray.balloons.clear();
    sim.fake.store.writes.clear();
  }
  state.counters["armed_timers"] = static_cast<double>(sim.program.timers().armedCount());
  state.counters["sim_minutes_per_s"] =
      benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(SimulatedMinute)->Unit(benchmark::kMicrosecond);

}  // namespace
