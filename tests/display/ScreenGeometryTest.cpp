#include <gtest/gtest.h>

#include "FakeDisplays.h"
#include "display/ScreenGeometry.h"

namespace taviro {
namespace {

TEST(TabletToScreen, RotatesWithinTheTabletThenClampsAndScales) {
  const Rect full(0, 0, 65535, 65535), part(1000, 1000, 2000, 2000), screen(0, 0, 1920, 1080);
  const Size tablet{65535, 65535};
  struct Case {
    Point p;
    Rect m, screen;
    int rotation;
    Point expected;
  } cases[] = {
      // An identity scale shows the rotated point before clamping.
      {{100, 200}, full, full, 0, {100, 200}},
      {{100, 200}, full, full, 90, {65335, 100}},
      {{100, 200}, full, full, 180, {65435, 65335}},
      {{100, 200}, full, full, 270, {200, 65435}},
      {{100, 200}, full, screen, 45, {1920.0 * 100 / 65535, 1080.0 * 200 / 65535}},  // unknown = 0
      {{32767.5, 0}, full, screen, 0, {960, 0}},
      {{65535, 65535}, full, screen, 0, {1920.0 * 65534 / 65535, 1080.0 * 65534 / 65535}},
      {{0, 0}, part, screen, 0, {0, 0}},
      {{5000, 5000}, part, screen, 0, {1920.0 * 1999 / 2000, 1080.0 * 1999 / 2000}},
  };
  for (const Case& c : cases) {
    const Point r = mapTabletToScreen(c.p, c.m, tablet, c.screen, c.rotation);
    EXPECT_NEAR(r.x, c.expected.x, 1e-9) << c.p.x << " rotation " << c.rotation;
    EXPECT_NEAR(r.y, c.expected.y, 1e-9) << c.p.x << " rotation " << c.rotation;
  }
  // A zero-sized tablet area pins that axis to the screen origin, not to x / 0.
  const Point r =
      mapTabletToScreen({500, 500}, Rect(0, 0, 0, 100), tablet, Rect(10, 20, 1920, 1080), 0);
  EXPECT_EQ(r.x, 10);
  EXPECT_NEAR(r.y, 20 + 1080.0 * 99 / 100, 1e-9);
}

TEST(DisplayQueries, UnionOfAtMostTenDisplaysAndTheMainOne) {
  fakes::FakeDisplayServices one({Rect(0, 0, 1920, 1080)});
  EXPECT_EQ(allScreenSize(one), screenSize(one.activeDisplays()[0]));
  fakes::FakeDisplayServices two({Rect(0, 0, 1920, 1080), Rect(1920, 0, 1920, 1080)});
  EXPECT_EQ(allScreenSize(two), Rect(0, 0, 3840, 1080));
  EXPECT_EQ(mainScreenSize(two), Rect(0, 0, 1920, 1080));
  EXPECT_TRUE(allScreenSize(fakes::FakeDisplayServices()).isNull());
  std::vector<Rect> twelve;
  for (int i = 0; i < 12; ++i) twelve.emplace_back(i * 100.0, 0, 100, 100);
  EXPECT_EQ(allScreenSize(fakes::FakeDisplayServices(twelve)), Rect(0, 0, 1000, 100));
  EXPECT_EQ(yk_objectAtIndexForScreen(std::vector<int>{7, 8}, 2), 7);  // past the end: the first
}

}  // namespace
}  // namespace taviro
