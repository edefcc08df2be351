#include <gtest/gtest.h>

#include "EditorFixture.h"
#include "mapping/AreaConversion.h"
#include "mapping/MappingGeometry.h"

namespace taviro {
namespace {

using test::expectRectNear;

const Size kTablet{65535, 65535};
const Rect kLandscape = kTabletRects[0];
const Rect kPortrait = kTabletRects[1];

TEST(AreaConversion, StoredTabletAreasReadIntoTheSurfaceAndWriteBackUnchanged) {
  struct Case {
    IntArea stored;
    Rect frame;
    TabletOffset offset;  // as fractions of the frame
  } cases[] = {
      {{0, 0, 65535, 65535}, kLandscape, {0, 0, 1, 1}},
      {{0, 0, 65535, 65535}, kPortrait, {0, 0, 1, 1}},
      // The stored y runs down from the tablet's top edge, the view's up.
      {{0, 0, 65535, 13107}, kLandscape, {0, 0.8, 1, 1}},
      {{13107, 52428, 13107, 13107}, kLandscape, {0.2, 0, 0.4, 0.2}},
      // Off-centre areas whose sizes truncation would shrink by one.
      {{1000, 2000, 30000, 20000},
       kLandscape,
       {1000 / 65535., 43535 / 65535., 31000 / 65535., 63535 / 65535.}},
      {{4321, 12345, 30000, 29999},
       kPortrait,
       {4321 / 65535., 23191 / 65535., 34321 / 65535., 53190 / 65535.}},
  };
  for (const Case& c : cases) {
    const Rect area = tabletAreaFromSettings(c.stored, c.frame, kTablet);
    test::expectOffsetNear(tabletOffsetOf(area, c.frame), c.offset);
    EXPECT_EQ(tabletSettingsFromArea(area, c.frame, kTablet), c.stored) << c.stored.width;
  }
}

TEST(AreaConversion, AnAreaAtTheFramesEdgesWritesTheTabletsEdgesExactly) {
  const Rect top(kLandscape.minX(), kLandscape.maxY() - 40, kLandscape.size.width, 40);
  const IntArea s = tabletSettingsFromArea(top, kLandscape, kTablet);
  EXPECT_EQ(s.offsetY, 0);
  EXPECT_EQ(s.offsetX, 0);
  EXPECT_EQ(s.width, 65535);
  const Rect bottom(kLandscape.minX() + 60, kLandscape.minY(), kLandscape.size.width - 60, 40);
  const IntArea b = tabletSettingsFromArea(bottom, kLandscape, kTablet);
  EXPECT_EQ(b.offsetY + b.height, 65535);
  EXPECT_EQ(b.offsetX + b.width, 65535);
}

TEST(AreaConversion, ScreenAreasRoundTripThroughTheDisplayPicture) {
  const Rect visible(0, 0, 400, 418);
  struct Case {
    Rect monitorArea;
    IntArea stored;
  } cases[] = {
      {Rect(0, 0, 1920, 1080), {0, 0, 1920, 1080}},
      {Rect(0, 0, 1440, 900), {17, 33, 1001, 767}},
      {Rect(1920, 180, 1440, 900), {2000, 200, 999, 701}},  // a second display
      {Rect(0, 0, 3840, 1080), {1919, 1, 1921, 1079}},      // the whole desktop
  };
  for (const Case& c : cases) {
    const std::optional<Rect> frame = displayFrame(visible, c.monitorArea);
    ASSERT_TRUE(frame);
    const Rect area = screenAreaFromSettings(c.stored, *frame, c.monitorArea);
    EXPECT_EQ(screenSettingsFromArea(area, *frame, c.monitorArea), c.stored);
    const IntArea whole = screenSettingsFromArea(*frame, *frame, c.monitorArea);
    EXPECT_EQ(whole, (IntArea{int(c.monitorArea.minX()), int(c.monitorArea.minY()),
                              int(c.monitorArea.size.width), int(c.monitorArea.size.height)}));
  }
}

TEST(AreaConversion, TheDisplayPictureFitsAboveTheTabletStripOrIsNotShown) {
  struct Case {
    Rect visible;
    Rect monitorArea;
    std::optional<Rect> frame;
  } cases[] = {
      {Rect(0, 0, 400, 418), Rect(0, 0, 1920, 1080),
       Rect(200 - 1920 / (1080 / 148.) / 2, 270, 1920 / (1080 / 148.), 148)},
      {Rect(0, 0, 400, 418), Rect(0, 0, 3840, 1080), Rect(0, 270, 400, 112.5)},
      {Rect(0, 0, 400, 418), Rect(), std::nullopt},  // no display chosen yet
      {Rect(0, 0, 400, 418), Rect(0, 0, 0, 1080), std::nullopt},
      {Rect(0, 0, 400, 270), Rect(0, 0, 1920, 1080), std::nullopt},  // no room
      {Rect(0, 0, 400, 200), Rect(0, 0, 1920, 1080), std::nullopt},
  };
  for (const Case& c : cases) {
    const std::optional<Rect> frame = displayFrame(c.visible, c.monitorArea);
    ASSERT_EQ(frame.has_value(), c.frame.has_value()) << c.visible.size.height;
    if (frame) expectRectNear(*frame, *c.frame);
  }
}

TEST(AreaConversion, FullTabletAndKeepAspectGiveTheLargestCentredArea) {
  const double wide = 185 * 1080 / 1920.;             // 1920 x 1080 across the surface
  const double narrow = 123.30859375 * 1080 / 1920.;  // across the portrait surface
  const double tall = 123.30859375 * 1080 / 1920.;    // a portrait screen, at full height
  struct Case {
    bool full;
    Size screen;
    Rect frame;
    std::optional<Rect> area;
  } cases[] = {
      {true, {1920, 1080}, kLandscape, kLandscape},
      {true, {0, 0}, kPortrait, kPortrait},
      {false,
       {1920, 1080},
       kLandscape,
       Rect(kLandscape.minX(), kLandscape.minY() + (kLandscape.size.height - wide) / 2, 185, wide)},
      {false,
       {1080, 1920},
       kLandscape,
       Rect(kLandscape.minX() + (185 - tall) / 2, kLandscape.minY(), tall, 123.30859375)},
      {false,
       {1920, 1080},
       kPortrait,
       Rect(kPortrait.minX(), kPortrait.minY() + (185 - narrow) / 2, 123.30859375, narrow)},
      {false, {1920, 0}, kLandscape, std::nullopt},  // no aspect to keep
  };
  for (const Case& c : cases) {
    const std::optional<Size> k = forceAspectFactors(c.full, c.screen, c.frame, kTablet);
    ASSERT_EQ(k.has_value(), c.area.has_value());
    if (k) expectRectNear(resizedTabletArea(*k, c.frame, kTablet), *c.area);
  }
}

TEST(AreaConversion, TypedOffsetsGiveAnAreaInsideTheFrameOrNothing) {
  const Rect& f = kLandscape;
  struct Case {
    Rect fractions;  // left, up, right - left, down - up
    std::optional<Rect> area;
  } cases[] = {
      {Rect(0, 0, 1, 1), f},
      {Rect(0.25, 0.5, 0.5, 0.25), Rect(f.minX() + 0.25 * 185, f.minY() + 0.5 * f.size.height,
                                        0.5 * 185, 0.25 * f.size.height)},
      // The fields come through single precision; 0.26 + 0.74 may end past 1.
      {Rect(0.26f, 0.f, 1.f - 0.26f, 1.f),
       Rect(f.minX() + 0.26f * 185, f.minY(), f.maxX() - (f.minX() + 0.26f * 185), f.size.height)},
      {Rect(0.5, 0, 0, 1), std::nullopt},     // right = left
      {Rect(0.5, 0, -0.2, 1), std::nullopt},  // right < left
      {Rect(0, 0.6, 1, -0.1), std::nullopt},  // down < up
      {Rect(0.5, 0, 0.6, 1), std::nullopt},   // past the right edge
      {Rect(-0.1, 0, 0.5, 1), std::nullopt},  // past the left edge
      {Rect(0, 0, 0.05, 1), std::nullopt},    // 9.25 points: below the smallest area
  };
  for (const Case& c : cases) {
    const std::optional<Rect> area = areaForTabletOffset(c.fractions, f);
    ASSERT_EQ(area.has_value(), c.area.has_value())
        << c.fractions.minX() << " " << c.fractions.size.width;
    if (!area) continue;
    expectRectNear(*area, *c.area, 1e-6);
    EXPECT_TRUE(containsRect(f, *area));
  }
}

}  // namespace
}  // namespace taviro
