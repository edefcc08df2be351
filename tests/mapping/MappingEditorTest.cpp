#include <gtest/gtest.h>

#include <random>

#include "EditorFixture.h"

namespace taviro::test {
namespace {

const Rect kMain(0, 0, 1920, 1080);
const Rect kSecond(1920, 0, 1440, 900);  // its frame: (1920, 180, 1440, 900)

// Loading the settings reads both stored areas into the view, and every draw
// writes them back: neither may change the stored integers, whatever their
// values and the display's size.
TEST(MappingEditor, StoredAreasSurviveAHundredLoadsAndDrawsOnDisplaysOfSeveralSizes) {
  struct Case {
    std::vector<Rect> displays;
    int displayId;
  } cases[] = {
      {{kMain}, 0},
      {{Rect(0, 0, 1440, 900)}, 0},
      {{Rect(0, 0, 1280, 1024)}, 0},
      {{Rect(0, 0, 3840, 2160)}, 0},
      {{kMain, kSecond}, 1},
      {{kMain, kSecond}, 2},  // the whole desktop
  };
  std::mt19937 random(8);
  const auto between = [&random](int lo, int hi) {
    return std::uniform_int_distribution<int>(lo, hi)(random);
  };
  for (const Case& c : cases) {
    EditorFixture f(c.displays);
    f.driver.setDisplayId(c.displayId);
    f.loadSettings();
    const Rect m = f.driver.tabletSettings().monitorArea.load();
    for (int area = 0; area < 20; ++area) {
      const int tx = between(0, 60000), ty = between(0, 60000);
      const IntArea tablet{tx, ty, between(1000, 65535 - tx), between(1000, 65535 - ty)};
      const int w = between(50, int(m.size.width)), h = between(50, int(m.size.height));
      const IntArea screen{int(m.minX()) + between(0, int(m.size.width) - w),
                           int(m.minY()) + between(0, int(m.size.height) - h), w, h};
      f.driver.setTabletArea(f.rectOf(tablet));
      f.driver.setScreenArea(f.rectOf(screen));
      f.driver.setTabletRotation(90 * between(0, 3));
      for (int load = 0; load < 100; ++load) {
        f.loadSettings();
        f.editor.drawRect();
      }
      ASSERT_EQ(f.tabletInts(), tablet);
      ASSERT_EQ(f.screenInts(), screen);
      EXPECT_EQ(f.driver.tabletArea(), f.rectOf(tablet));
      EXPECT_EQ(f.driver.screenArea(), f.rectOf(screen));
    }
  }
}

TEST(MappingEditor, LoadingKeepsTheStoredScreenAreaAndAPickedDisplayIsMappedWhole) {
  EditorFixture f({kMain, kSecond});
  const IntArea custom{100, 200, 800, 600};
  f.driver.setScreenArea(f.rectOf(custom));
  f.loadSettings();
  f.editor.drawRect();
  EXPECT_EQ(f.screenInts(), custom);
  EXPECT_EQ(f.driver.screenManager().screenMapping(), Rect(100, 1080 - (200 + 600), 800, 600));

  // The user picks the second display: mapped whole at once, before a draw.
  f.selectDisplay(1);
  const IntArea second{1920, 180, 1440, 900};
  EXPECT_EQ(f.screenInts(), second);
  EXPECT_EQ(f.driver.screenArea(), f.rectOf(second));
  f.editor.drawRect();
  EXPECT_EQ(f.screenInts(), second);
}

// As after an import or a reset: the driver reloads, then the panel.
TEST(MappingEditor, LoadingReadsTheStoredTabletAreaAndAPickedRotationMapsTheWholeTablet) {
  EditorFixture f;
  f.loadSettings();
  f.editor.drawRect();  // the whole tablet: the whole surface
  expectRectNear(f.editor.tabletViewInfo()._monitorDropArea, kTabletRects[0]);
  EXPECT_NEAR(f.reported.right, 1, 1e-12);
  EXPECT_NEAR(f.reported.down, 1, 1e-12);

  const IntArea custom{5000, 6000, 30000, 20000};
  f.driver.setTabletArea(f.rectOf(custom));
  f.driver.setTabletRotation(270);
  f.loadSettings();
  f.editor.drawRect();
  EXPECT_EQ(f.tabletInts(), custom);
  EXPECT_EQ(f.driver.tabletMapping(), f.rectOf(custom));
  EXPECT_NEAR(f.reported.left, 5000 / 65535., 1e-12);

  // The user picks 90 degrees: the portrait surface, all of it.
  f.editor.setTabletRotate(90);
  const EditorPicture picture = f.editor.drawRect();
  EXPECT_EQ(picture.tabletImageRect, kTabletImagesRects[1]);
  expectRectNear(picture.tabletArea, kTabletRects[1]);
  EXPECT_EQ(f.tabletInts(), (IntArea{0, 0, 65535, 65535}));
  EXPECT_EQ(f.driver.tabletSettings().rotation, 90);
  EXPECT_EQ(f.driver.screenManager().rotation(), 90);
  f.editor.setTabletRotate(405);  // no picture for it: nothing changes
  EXPECT_EQ(f.editor.rotationIndex(), 1);
}

TEST(MappingEditor, FullTabletAndKeepAspectMapTheLargestCentredArea) {
  const Rect land = kTabletRects[0];
  const Rect portrait = kTabletRects[1];
  const double wide = 185 * 1080 / 1920.;  // a 1920 x 1080 shape across the surface
  const double narrow = 123.30859375 * 1080 / 1920.;
  struct Case {
    bool full;
    Rect display;  // mapped whole
    int rotation;
    Rect area;
  } cases[] = {
      {true, kMain, 0, land},
      {false, kMain, 0, Rect(land.minX(), land.minY() + (land.size.height - wide) / 2, 185, wide)},
      // Too tall for the surface: the same shape at the surface's height.
      {false, Rect(0, 0, 1080, 1920), 0,
       Rect(land.minX() + (185 - narrow) / 2, land.minY(), narrow, land.size.height)},
      {false, kMain, 90,
       Rect(portrait.minX(), portrait.minY() + (185 - narrow) / 2, portrait.size.width, narrow)},
  };
  for (const Case& c : cases) {
    EditorFixture f({c.display});
    f.driver.setTabletRotation(c.rotation);
    f.loadSettings();
    f.editor.drawRect();
    f.editor.setForceAspect(c.full);
    expectRectNear(f.editor.drawRect().tabletArea, c.area);
  }
}

TEST(MappingEditor, WithoutADisplayOrRoomTheDisplaySideWritesNothing) {
  EditorFixture f;
  const IntArea custom{10, 20, 300, 400};
  f.driver.setScreenArea(f.rectOf(custom));
  f.loadSettings();
  f.driver.tabletSettings().monitorArea = Rect();  // as after the driver reloads
  f.editor.setFullScreen();
  EXPECT_FALSE(f.editor.drawRect().monitorFrame);
  EXPECT_EQ(f.screenInts(), custom);
  // Once a display is chosen again, the stored area is read, not the old view.
  f.driver.setScreenArea(Rect(30, 40, 500, 600));
  f.driver.screenManager().setTargetScreen(f.platform.displays.mainDisplay());
  ASSERT_TRUE(f.editor.drawRect().monitorFrame);
  EXPECT_EQ(f.screenInts(), (IntArea{30, 40, 500, 600}));

  f.editor.setVisibleRect(Rect(0, 0, 400, 270));  // no room above the tablet
  f.driver.setScreenArea(f.rectOf(custom));
  EXPECT_FALSE(f.editor.drawRect().monitorFrame);
  EXPECT_EQ(f.screenInts(), custom);
}

TEST(MappingEditor, TypedOffsetsInsideTheFrameMapTheirAreaOthersChangeNothing) {
  const IntArea whole{0, 0, 65535, 65535};
  struct Case {
    Rect fractions;  // left, up, right - left, down - up
    IntArea written;
  } cases[] = {
      {Rect(0.2, 0.2, 0.6, 0.6), IntArea{13107, 13107, 39321, 39321}},
      // Single precision, as the fields are read: the right edge lands on 1.
      {Rect(0.26f, 0.f, 1.f - 0.26f, 1.f), IntArea{17039, 0, 48496, 65535}},
      {Rect(0.5, 0, 0, 1), whole},    // right = left
      {Rect(0.5, 0, 0.6, 1), whole},  // past the right edge
      {Rect(0, 0, 0.05, 1), whole},   // 9.25 points wide
  };
  for (const Case& c : cases) {
    EditorFixture f;
    f.loadSettings();
    f.editor.drawRect();
    f.reported = TabletOffset{};
    f.editor.adjustTabletOffset(c.fractions);
    f.editor.drawRect();
    EXPECT_EQ(f.tabletInts(), c.written) << c.fractions.minX() << " " << c.fractions.size.width;
    // The fields are told the area, kept or not.
    EXPECT_NEAR(f.reported.right, (c.written.offsetX + c.written.width) / 65535., 1e-5);
  }
}

}  // namespace
}  // namespace taviro::test
