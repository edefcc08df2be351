#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "DriverHarness.h"

namespace {
std::atomic<long> g_allocations{0};
}  // namespace

void* operator new(std::size_t size) {
  ++g_allocations;
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return operator new(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }

namespace taviro {
namespace {

// Every kind of report the pen sends in a stroke (hover, tip, drag, lift,
// out), each for a whole group so that the group-closing path runs too, with
// the settings panel closed and open ("updatePressure" for every report).
TEST(ReportPath, OneReportAllocatesNothingOnTheHeap) {
  testing::DriverHarness h;
  fakes::NullEventSystem sink;
  BTDriverManager& d = h.start(&sink);
  float shown = -1;
  h.fakes.notifications.addObserver(kUpdatePressureNotification, [&](const Notification& n) {
    shown = n.userInfo->begin()->second.floatValue();
  });
  const std::vector<std::vector<std::uint8_t>> stroke = {
      testing::tabletReport(0xC0, 1001, 1001), testing::tabletReport(0xC1, 1101, 1001, 3000),
      testing::tabletReport(0xC1, 1201, 1101, 5000), testing::tabletReport(0xC0, 1301, 1201),
      testing::tabletReport(0x00, 1300, 1200)};
  for (const bool panelOpen : {false, true}) {
    d.setShowPressure(panelOpen);
    for (int warm = 0; warm < 4; ++warm) d.didReceiveReport(stroke[0].data(), 8);
    long worst = 0;
    for (const auto& report : stroke) {
      for (int i = 0; i < 4; ++i) {
        const long before = g_allocations.load();
        d.didReceiveReport(report.data(), 8);
        worst = std::max(worst, g_allocations.load() - before);
      }
    }
    EXPECT_EQ(worst, 0) << (panelOpen ? "panel open" : "panel closed");
    EXPECT_GT(d.stylus().point.x, 0);  // the reports did take effect
  }
  EXPECT_EQ(shown, 0.0f);  // the panel heard of the last report
}

}  // namespace
}  // namespace taviro
