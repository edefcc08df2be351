#include <gtest/gtest.h>

#include "DriverHarness.h"
#include "display/BTScreenManager.h"

namespace taviro {
namespace {

const Rect kMain(0, 0, 1920, 1080);
const Rect kSecond(1920, 0, 1280, 1024);

// A display manager over the two displays above, started on `displayID`.
struct Screens {
  explicit Screens(int displayID, std::vector<Rect> bounds = {kMain, kSecond}) : displays(bounds) {
    settings.displayID = displayID;
    manager.emplace(displays, center, settings);
  }
  fakes::FakeDisplayServices displays;
  NotificationCenter center;
  TabletSettings settings;
  std::optional<BTScreenManager> manager;
};

TEST(ScreenManager, StartsOnTheStoredDisplayChoice) {
  struct Case {
    int displayID;
    std::optional<DisplayID> target;
    Rect monitorArea;
  } cases[] = {
      {0, 1, Rect(0, 0, 1920, 1080)},
      {1, 2, Rect(1920, 1080 - 1024, 1280, 1024)},  // the frame: bottom-left origin
      {2, std::nullopt, Rect(0, 0, 3200, 1080)},    // past the list: whole desktop
      {-1, 1, Rect(0, 0, 1920, 1080)},
  };
  for (const Case& c : cases) {
    Screens s(c.displayID);
    const auto target = s.manager->targetScreen();
    EXPECT_EQ(target ? std::optional(target->id) : std::nullopt, c.target) << c.displayID;
    EXPECT_EQ(s.settings.monitorArea.load(), c.monitorArea) << c.displayID;
    EXPECT_EQ(s.manager->tabletSize(), (Size{65535, 65535}));
  }
}

TEST(ScreenManager, ScreenMappingFlipsYUnlessTheWholeDesktopIsTheTargetRotationIsTruncated) {
  Screens s(1);
  s.manager->setRotation(90.7);
  EXPECT_EQ(s.manager->rotation(), 90);
  s.manager->setRotation(1e12);  // out of an int's range: none
  EXPECT_EQ(s.manager->rotation(), 0);
  s.manager->setScreenMapping(Rect(0, 0, 1280, 1024));
  EXPECT_EQ(s.manager->screenMapping(), Rect(0, 56, 1280, 1024));
  s.manager->setTargetScreen(std::nullopt);
  s.manager->setScreenMapping(Rect(0, 0, 1280, 1024));
  EXPECT_EQ(s.manager->screenMapping(), Rect(0, 0, 1280, 1024));
  EXPECT_EQ(s.settings.monitorArea.load(), Rect(0, 0, 3200, 1080));
}

TEST(ScreenManager, UnpluggingTheTargetFallsBackToTheMainDisplay) {
  Screens s(1);
  // Another display going away changes nothing.
  auto displays = s.displays.activeDisplays();
  s.displays.setDisplays({displays[0], displays[1], {9, Rect(-800, 0, 800, 600), {}, 0}});
  s.center.post(kApplicationDidChangeScreenParametersNotification);
  s.displays.setDisplays({displays[0], displays[1]});
  s.center.post(kApplicationDidChangeScreenParametersNotification);
  EXPECT_EQ(s.manager->targetScreen()->id, 2u);

  s.displays.setDisplays({displays[0]});
  s.center.post(kApplicationDidChangeScreenParametersNotification);
  EXPECT_EQ(s.manager->targetScreen()->id, 1u);
  EXPECT_EQ(s.settings.monitorArea.load(), kMain);
}

// The display manager the driver sets up follows the stored rotation from the
// start, before the mapping editor ever runs (the stored display choice: the
// replay test's settings check).
TEST(StoredScreenSettings, RotationShapesTheMappingFromStart) {
  Value::Dict stored = testing::identityMapping();
  stored[DriverKeys::rotation] = 90;
  testing::DriverHarness h(stored);
  BTDriverManager& d = h.start();
  EXPECT_EQ(d.screenManager().rotation(), 90);
  for (int i = 0; i < 4; ++i) h.feed(testing::tabletReport(0xC0, 101, 200));
  EXPECT_EQ(d.stylus().point, (Int32Point{65335, 101}));
}

}  // namespace
}  // namespace taviro
