#include <gtest/gtest.h>

#include <random>

#include "EditorFixture.h"

namespace taviro::test {
namespace {

const Rect kMain(0, 0, 1920, 1080);
const Rect kSecond(1920, 0, 1440, 900);  // its frame: (1920, 180, 1440, 900)

TEST(MappingEditor, TheWholeTabletReadsAsTheWholeSurfaceInEveryRotation) {
  for (int r = 0; r < 4; ++r) {
    EditorFixture f;
    f.editor.initTabletRotate(90.0 * r);
    const EditorPicture picture = f.editor.drawRect();
    EXPECT_EQ(picture.tabletFrame, kTabletRects[std::size_t(r)]);
    expectRectNear(picture.tabletArea, picture.tabletFrame);
    EXPECT_EQ(picture.tabletImageRect, kTabletImagesRects[std::size_t(r)]);
    ASSERT_EQ(f.reported.size(), 1u);
    expectOffsetNear(f.reported.back(), TabletOffset{0, 0, 1, 1});
    EXPECT_EQ(f.tabletInts(), (IntArea{0, 0, 65535, 65535}));
    EXPECT_EQ(f.driver.tabletMapping(), Rect(0, 0, 65535, 65535));
    EXPECT_EQ(f.driver.screenManager().rotation(), 90 * r);
  }
}

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
      ASSERT_EQ(f.tabletInts(), tablet) << tablet.offsetX << " " << tablet.offsetY;
      ASSERT_EQ(f.screenInts(), screen) << screen.offsetX << " " << screen.offsetY;
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
  const EditorPicture picture = f.editor.drawRect();
  ASSERT_TRUE(picture.monitorFrame);
  expectRectNear(picture.monitorArea, *picture.monitorFrame);
  EXPECT_EQ(f.screenInts(), second);
}

TEST(MappingEditor, LoadingReadsTheStoredTabletAreaAgainAndAPickedRotationMapsTheWholeTablet) {
  EditorFixture f;
  f.loadSettings();
  f.editor.drawRect();
  // The driver reloads other settings (an import): rotation 90, a custom area.
  const IntArea custom{5000, 6000, 30000, 20000};
  f.driver.setTabletArea(f.rectOf(custom));
  f.driver.setTabletRotation(90);
  f.loadSettings();
  f.editor.drawRect();
  EXPECT_EQ(f.tabletInts(), custom);
  EXPECT_EQ(f.driver.tabletMapping(), f.rectOf(custom));
  EXPECT_NEAR(f.editor.getTabletOffset().left, 5000 / 65535., 1e-12);

  // The user then picks 180 degrees: the whole tablet, turned.
  f.editor.setTabletRotate(180);
  const EditorPicture picture = f.editor.drawRect();
  EXPECT_EQ(picture.tabletFrame, kTabletRects[2]);
  expectRectNear(picture.tabletArea, kTabletRects[2]);
  EXPECT_EQ(f.tabletInts(), (IntArea{0, 0, 65535, 65535}));
  EXPECT_EQ(f.driver.tabletSettings().rotation, 180);
  EXPECT_EQ(f.driver.screenManager().rotation(), 180);
  expectOffsetNear(f.reported.back(), TabletOffset{0, 0, 1, 1});
}

TEST(MappingEditor, RotationNinetyShowsThePortraitSurfaceAndMapsTheWholeTablet) {
  EditorFixture f;
  f.driver.setTabletArea(Rect(1000, 1000, 20000, 20000));
  f.loadSettings();
  f.editor.drawRect();
  f.editor.setTabletRotate(90);
  const EditorPicture picture = f.editor.drawRect();
  EXPECT_EQ(picture.rotationIndex, 1);
  EXPECT_EQ(picture.tabletImageRect, kTabletImagesRects[1]);
  expectRectNear(picture.tabletArea, kTabletRects[1]);
  EXPECT_EQ(f.tabletInts(), (IntArea{0, 0, 65535, 65535}));
  EXPECT_EQ(f.driver.tabletSettings().rotation, 90);
  // Any other angle has no picture and changes nothing.
  f.editor.setTabletRotate(45.0 * 9);
  EXPECT_EQ(f.editor.rotationIndex(), 1);
}

TEST(MappingEditor, KeepAspectMapsTheLargestCentredTabletAreaOfTheScreensShape) {
  EditorFixture f;
  f.loadSettings();  // screen area: the whole 1920 x 1080 display
  f.editor.drawRect();
  f.editor.setForceAspect(false);
  f.editor.drawRect();
  const IntArea t = f.tabletInts();
  EXPECT_EQ(t.offsetX, 0);
  EXPECT_EQ(t.width, 65535);
  // 185 x 104.0625 points of the 185 x 123.3 point surface, centred.
  EXPECT_NEAR(t.height, 65535 * (185 * 1080 / 1920.) / 123.30859375, 0.5);
  EXPECT_LE(std::abs(2 * t.offsetY + t.height - 65535), 1);
  f.editor.setForceAspect(true);
  f.editor.drawRect();
  EXPECT_EQ(f.tabletInts(), (IntArea{0, 0, 65535, 65535}));
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
  const EditorPicture picture = f.editor.drawRect();
  ASSERT_TRUE(picture.monitorFrame);
  EXPECT_EQ(f.screenInts(), (IntArea{30, 40, 500, 600}));

  f.editor.setVisibleRect(Rect(0, 0, 400, 270));
  f.driver.setScreenArea(f.rectOf(custom));
  EXPECT_FALSE(f.editor.drawRect().monitorFrame);
  EXPECT_EQ(f.screenInts(), custom);
}

TEST(MappingEditor, TypedOffsetsMoveTheTabletAreaOrChangeNothing) {
  EditorFixture f;
  f.loadSettings();
  f.editor.drawRect();
  f.editor.adjustTabletOffset(Rect(0.2, 0.2, 0.6, 0.6));
  f.editor.drawRect();
  const IntArea typed{13107, 13107, 39321, 39321};
  EXPECT_EQ(f.tabletInts(), typed);
  const std::size_t reports = f.reported.size();
  // Right at or left of left: nothing changes, and the fields are told the
  // area again so that they no longer show what was refused.
  f.editor.adjustTabletOffset(Rect(0.5, 0.1, 0, 0.5));
  f.editor.drawRect();
  EXPECT_EQ(f.tabletInts(), typed);
  ASSERT_EQ(f.reported.size(), reports + 1);
  expectOffsetNear(f.reported.back(), TabletOffset{0.2, 0.2, 0.8, 0.8});
}

}  // namespace
}  // namespace taviro::test
