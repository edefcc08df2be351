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

TEST(ReportPath, OneReportAllocatesNothingOnTheHeap) {
  testing::DriverHarness h;
  fakes::NullEventSystem sink;
  BTDriverManager& d = h.start(&sink);
  // Every kind of report the pen sends in a stroke: hover, tip, drag, lift, out.
  const std::vector<std::vector<std::uint8_t>> stroke = {
      testing::tabletReport(0xC0, 1001, 1001), testing::tabletReport(0xC1, 1101, 1001, 3000),
      testing::tabletReport(0xC1, 1201, 1101, 5000), testing::tabletReport(0xC0, 1301, 1201),
      testing::tabletReport(0x00, 1300, 1200)};
  for (int warm = 0; warm < 4; ++warm) d.didReceiveReport(stroke[0].data(), 8);

  long worst = 0;
  for (const auto& report : stroke) {
    for (int i = 0; i < 4; ++i) {  // a whole group, so the group-closing path runs too
      const long before = g_allocations.load();
      d.didReceiveReport(report.data(), 8);
      worst = std::max(worst, g_allocations.load() - before);
    }
  }
  EXPECT_EQ(worst, 0);
  EXPECT_GT(d.stylus().point.x, 0);  // the reports did take effect
}

}  // namespace
}  // namespace taviro
