// Painting the readout icon, offscreen: once per picture change.

#include <benchmark/benchmark.h>

#include <string>

#include "ui/qt/tray_picture.h"

namespace {

qv::TrayPicture reading(int n) {
  return qv::TrayPicture{
      .background = qv::Colour::rgb(0, 192, 0), .text = std::to_string(n), .fontSize = 9};
}

// One size, as the readout changes.
void PaintTrayPicture16(benchmark::State& state) {
  int n = 0;
  for (auto _ : state) benchmark::DoNotOptimize(qv::ui::paintTrayPicture(reading(n++ % 100), 16));
}
BENCHMARK(PaintTrayPicture16)->Unit(benchmark::kMicrosecond);

// A new reading as a tray shows it: the icon, painted at the one size asked.
void TrayPictureIconNew(benchmark::State& state) {
  int n = 0;
  for (auto _ : state)
    benchmark::DoNotOptimize(qv::ui::trayPictureIcon(reading(n++ % 100)).pixmap(22));
}
BENCHMARK(TrayPictureIconNew)->Unit(benchmark::kMicrosecond);

// A picture the display cycle showed a moment ago.
void TrayPictureIconAgain(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(qv::ui::trayPictureIcon(reading(37)).pixmap(22));
}
BENCHMARK(TrayPictureIconAgain)->Unit(benchmark::kMicrosecond);

}  // namespace
