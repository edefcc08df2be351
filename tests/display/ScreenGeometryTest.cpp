#include <gtest/gtest.h>

#include "FakeDisplays.h"
#include "display/ScreenGeometry.h"

namespace taviro {
namespace {

TEST(TabletToScreen, RotatesClampsAndScales) {
  const Rect full(0, 0, 65535, 65535);
  const Size tablet{65535, 65535};
  const Rect screen(0, 0, 1920, 1080);
  struct Case {
    Point p;
    Rect m;
    int rotation;
    Point expected;
  } cases[] = {
      {{32767.5, 0}, full, 0, {960, 0}},
      {{65535, 65535}, full, 0, {1920.0 * 65534 / 65535, 1080.0 * 65534 / 65535}},
      {{100, 200}, full, 45, {1920.0 * 100 / 65535, 1080.0 * 200 / 65535}},  // unknown = 0
      {{0, 0}, Rect(1000, 1000, 2000, 2000), 0, {0, 0}},
      {{5000, 5000}, Rect(1000, 1000, 2000, 2000), 0, {1920.0 * 1999 / 2000, 1080.0 * 1999 / 2000}},
  };
  for (const Case& c : cases) {
    const Point r = mapTabletToScreen(c.p, c.m, tablet, screen, c.rotation);
    EXPECT_NEAR(r.x, c.expected.x, 1e-9);
    EXPECT_NEAR(r.y, c.expected.y, 1e-9);
  }
}

TEST(TabletToScreen, RotationTurnsThePointWithinTheTablet) {
  // An identity scale shows the rotated point before clamping.
  const Rect m(0, 0, 65535, 65535);
  const Size tablet{65535, 65535};
  struct Case {
    int rotation;
    Point expected;
  } cases[] = {{0, {100, 200}}, {90, {65335, 100}}, {180, {65435, 65335}}, {270, {200, 65435}}};
  for (const Case& c : cases) {
    EXPECT_EQ(mapTabletToScreen({100, 200}, m, tablet, m, c.rotation), c.expected) << c.rotation;
  }
}

TEST(TabletToScreen, ZeroSizedTabletAreaPinsToTheScreenOrigin) {
  const Point r = mapTabletToScreen({500, 500}, Rect(0, 0, 0, 100), {65535, 65535},
                                    Rect(10, 20, 1920, 1080), 0);
  EXPECT_EQ(r.x, 10);
  EXPECT_NEAR(r.y, 20 + 1080.0 * 99 / 100, 1e-9);
}

TEST(DisplayQueries, UnionMainAndSafeLookups) {
  fakes::FakeDisplayServices one({Rect(0, 0, 1920, 1080)});
  EXPECT_EQ(allScreenSize(one), screenSize(one.activeDisplays()[0]));
  fakes::FakeDisplayServices two({Rect(0, 0, 1920, 1080), Rect(1920, 0, 1920, 1080)});
  EXPECT_EQ(allScreenSize(two), Rect(0, 0, 3840, 1080));
  EXPECT_EQ(mainScreenSize(two), Rect(0, 0, 1920, 1080));
  fakes::FakeDisplayServices none;
  EXPECT_TRUE(allScreenSize(none).isNull());

  const std::vector<int> list{7, 8};
  EXPECT_EQ(yk_objectAtIndex(list, 1), 8);
  EXPECT_EQ(yk_objectAtIndex(list, 2), std::nullopt);
  EXPECT_EQ(yk_objectAtIndexForScreen(list, 2), 7);
  EXPECT_EQ(yk_objectAtIndexForScreen(std::vector<int>{}, 0), std::nullopt);
}

TEST(DisplayQueries, UnionCountsAtMostTenDisplays) {
  std::vector<Rect> bounds;
  for (int i = 0; i < 12; ++i) bounds.emplace_back(i * 100.0, 0, 100, 100);
  fakes::FakeDisplayServices many(bounds);
  EXPECT_EQ(allScreenSize(many), Rect(0, 0, 1000, 100));
}

}  // namespace
}  // namespace taviro
