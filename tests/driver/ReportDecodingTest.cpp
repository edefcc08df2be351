#include <gtest/gtest.h>

#include "DriverHarness.h"
#include "driver/ReportDecoding.h"
#include "driver/Truncate.h"

#include <cmath>

namespace taviro::testing {
namespace {

std::vector<std::uint8_t> bytes(std::initializer_list<std::uint8_t> b1to7) {
  std::vector<std::uint8_t> r{0x08};
  r.insert(r.end(), b1to7);
  r.resize(8, 0);
  return r;
}

TEST(ReportDecoding, PositionComesFromTheBitFieldOfBytesOneToFive) {
  struct Case {
    std::vector<std::uint8_t> report;
    std::uint16_t x, y;
  } cases[] = {
      {bytes({0xC1, 0x34, 0x12, 0x78, 0x56, 0x00, 0x10}), 0x2469, 0xACF0},
      {bytes({0xC1, 0x00, 0x80, 0x00, 0x40}), 0x0001, 0x8001},
      {bytes({0x80, 0xFF, 0xFF, 0xFF, 0xFF}), 0xFFFF, 0xFFFF},  // bit 7 of byte 5 unused
      {bytes({0x00, 0x00, 0x00, 0x00, 0x00}), 0, 0},
  };
  for (const Case& c : cases) {
    const TabletPosition p = decodePosition(c.report.data());
    EXPECT_EQ(p.x, c.x);
    EXPECT_EQ(p.y, c.y);
    // The bit-by-bit reading of the layout gives the same fields.
    std::int32_t bits[32];
    reportBitField(c.report.data(), bits);
    EXPECT_EQ(BTDriverManager::intWithBits(bits, 15, 16), c.x);
    EXPECT_EQ(BTDriverManager::intWithBits(bits, 31, 16), c.y);
  }
  EXPECT_EQ(rawPressure(cases[0].report.data()), 0x1000);
}

TEST(ReportDecoding, StatusByteGivesTheButtonMask) {
  struct Case {
    std::vector<std::uint8_t> report;
    std::uint16_t mask;
  } cases[] = {
      {bytes({0xC1}), 0x0080},          {bytes({0xC2}), 0x0020},
      {bytes({0xC4}), 0x0040},          {bytes({0x00}), 0},
      {bytes({0xC0}), 0},               {expressKeyReport(1), 0x0001},
      {expressKeyReport(3), 0x0004},    {expressKeyReport(8), 0x0080},
      {expressKeyReport(16), 0x8000},   {expressKeyReport(0), 0x8000},
      {expressKeyReport(17), 0x8000},   {expressKeyReport(0x0101), 0x8000},
  };
  for (const Case& c : cases) EXPECT_EQ(buttonMaskForReport(c.report.data()), c.mask);
}

TEST(Truncation, GoesTowardZeroAndSaturatesAtTheInt32Limits) {
  const std::pair<double, std::int32_t> cases[] = {
      {1.9, 1},           {-1.9, -1},          {2147483647.5, INT32_MAX}, {2147483648.0, INT32_MAX},
      {1e300, INT32_MAX}, {-2147483648.5, INT32_MIN}, {-2147483649.0, INT32_MIN},
      {-1e300, INT32_MIN}, {std::nan(""), 0}};
  for (const auto& [v, expected] : cases) EXPECT_EQ(truncToInt32(v), expected) << v;
  EXPECT_EQ(truncToInt16Bits(65537.5), 1);  // the low 16 bits
}

// A screen area from a settings file may put mapped positions at the int32
// limits; the motion from the last position to one there saturates instead
// of overflowing (undefined behaviour, which a -fsanitize=undefined build
// reports).
TEST(Smoothing, MotionToAPositionAtTheIntLimitsSaturates) {
  EXPECT_EQ(saturatingDifference(INT32_MAX, INT32_MIN), INT32_MAX);
  EXPECT_EQ(saturatingDifference(INT32_MIN, 1), INT32_MIN);
  EXPECT_EQ(saturatingDifference(-5, 3), -8);

  DriverHarness h;
  BTDriverManager& d = h.start();
  for (int i = 0; i < 4; ++i) h.feed(tabletReport(0x40, 60000, 500));
  d.setScreenArea(Rect(-2147483648.0, 0, 4294967295.0, 100));
  d.updateScreenSettings();
  for (int i = 0; i < 3; ++i) h.feed(tabletReport(0x40, 0, 500));
  h.fakes.events.clear();
  h.feed(tabletReport(0x40, 0, 500));
  EXPECT_EQ(d.stylus().point.x, INT32_MIN);
  EXPECT_EQ(h.fakes.events.types(), (Types{NX_MOUSEMOVED}));  // one move there, then none
}

TEST(ReportApplication, TipReportsWaitForTheEndOfTheGroupKeysApplyAtOnce) {
  DriverHarness h;
  BTDriverManager& d = h.start();
  for (int i = 0; i < 4; ++i) h.feed(tabletReport(0x40, 1000, 1000));  // pen enters
  h.fakes.events.clear();
  // Tip down and up inside one group: the machine never sees the tip.
  h.feed(tabletReport(0xC1, 1001, 1000, 4000));
  h.feed(tabletReport(0x40, 1000, 1000));
  h.feed(tabletReport(0x40, 1000, 1000));
  EXPECT_EQ(d.oldStylus().button_mask, 0);
  h.feed(tabletReport(0x40, 1000, 1000));
  for (std::uint32_t t : h.fakes.events.types()) {
    EXPECT_NE(t, NX_LMOUSEDOWN);
    EXPECT_NE(t, NX_LMOUSEUP);
  }

  h.feed(expressKeyReport(3));
  EXPECT_EQ(d.oldStylus().button_mask, 0x0004);
  h.feed(tabletReport(0xC2, 1001, 1000));
  EXPECT_EQ(d.oldStylus().button_mask, 0x0020);
  // (Express key 8, which carries the tip bit, is held back like the tip:
  // PenStateMachine.ExpressKeyReportsAreNoPenSamples.)
}

}  // namespace
}  // namespace taviro::testing
