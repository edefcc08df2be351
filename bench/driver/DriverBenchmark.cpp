// The per-report path: didReceiveReport with posts going nowhere.
#include <benchmark/benchmark.h>

#include <vector>

#include "DriverHarness.h"
#include "display/ScreenGeometry.h"
#include "driver/ReportDecoding.h"

namespace taviro {
namespace {

// A stream of reports of one kind, moving so that groups post events.
std::vector<std::vector<std::uint8_t>> stream(std::uint8_t status, bool pressure) {
  std::vector<std::vector<std::uint8_t>> out;
  for (std::uint32_t i = 0; i < 256; ++i)
    out.push_back(testing::tabletReport(status, 20001 + 40 * i, 20001 + 20 * i,
                                        pressure ? static_cast<std::uint16_t>(2500 + 10 * i) : 0));
  return out;
}

void runStream(benchmark::State& state, std::uint8_t status, bool pressure, bool showPressure) {
  testing::DriverHarness h({});  // nothing stored: the first-run mapping onto 1920 x 1080
  fakes::NullEventSystem sink;
  BTDriverManager& d = h.start(&sink);
  d.setShowPressure(showPressure);
  const auto reports = stream(status, pressure);
  std::size_t i = 0;
  for (auto _ : state) {
    const auto& r = reports[i++ & 255];
    d.didReceiveReport(r.data(), r[0]);
  }
  state.SetItemsProcessed(state.iterations());
}

void BM_ReportHover(benchmark::State& state) { runStream(state, 0xC0, false, false); }
void BM_ReportDrag(benchmark::State& state) { runStream(state, 0xC1, true, false); }
// With the panel open: every report also posts "updatePressure".
void BM_ReportDragWithPressureShown(benchmark::State& state) { runStream(state, 0xC1, true, true); }

void BM_DecodePosition(benchmark::State& state) {
  const auto reports = stream(0xC1, false);
  std::size_t i = 0;
  for (auto _ : state) benchmark::DoNotOptimize(decodePosition(reports[i++ & 255].data()));
}

void BM_MapTabletToScreen(benchmark::State& state) {
  const Rect m(1000, 1000, 60000, 60000), screen(0, 0, 1920, 1080);
  double x = 0;
  for (auto _ : state) {
    x = x > 65535 ? 0 : x + 7;
    benchmark::DoNotOptimize(mapTabletToScreen({x, 30000}, m, {65535, 65535}, screen, 90));
  }
}

BENCHMARK(BM_ReportHover);
BENCHMARK(BM_ReportDrag);
BENCHMARK(BM_ReportDragWithPressureShown);
BENCHMARK(BM_DecodePosition);
BENCHMARK(BM_MapTabletToScreen);

}  // namespace
}  // namespace taviro

BENCHMARK_MAIN();
