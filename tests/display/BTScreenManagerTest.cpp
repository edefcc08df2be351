#include <gtest/gtest.h>

#include "FakeDisplays.h"
#include "display/BTScreenManager.h"

namespace taviro {
namespace {

struct ScreenManagerSetup {
  explicit ScreenManagerSetup(std::vector<Rect> bounds, int displayID = 0) : displays(bounds) {
    settings.displayID = displayID;
  }
  BTScreenManager make() { return BTScreenManager(displays, center, settings); }
  fakes::FakeDisplayServices displays;
  NotificationCenter center;
  TabletSettings settings;
};

const Rect kMain(0, 0, 1920, 1080);
const Rect kSecond(1920, 0, 1280, 1024);

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
    ScreenManagerSetup s({kMain, kSecond}, c.displayID);
    BTScreenManager m(s.displays, s.center, s.settings);
    const auto target = m.targetScreen();
    EXPECT_EQ(target ? std::optional(target->id) : std::nullopt, c.target) << c.displayID;
    EXPECT_EQ(s.settings.monitorArea.load(), c.monitorArea) << c.displayID;
    EXPECT_EQ(m.tabletSize(), (Size{65535, 65535}));
  }
}

TEST(ScreenManager, ScreenMappingFlipsYUnlessTheWholeDesktopIsTheTarget) {
  ScreenManagerSetup s({kMain, kSecond}, 1);
  BTScreenManager m(s.displays, s.center, s.settings);
  m.setScreenMapping(Rect(0, 0, 1280, 1024));
  EXPECT_EQ(m.screenMapping(), Rect(0, 56, 1280, 1024));
  m.setTargetScreen(std::nullopt);
  m.setScreenMapping(Rect(0, 0, 1280, 1024));
  EXPECT_EQ(m.screenMapping(), Rect(0, 0, 1280, 1024));
  EXPECT_EQ(s.settings.monitorArea.load(), Rect(0, 0, 3200, 1080));
}

TEST(ScreenManager, UnpluggingTheTargetFallsBackToTheMainDisplay) {
  ScreenManagerSetup s({kMain, kSecond}, 1);
  BTScreenManager m(s.displays, s.center, s.settings);
  // Another display going away changes nothing.
  auto displays = s.displays.activeDisplays();
  s.displays.setDisplays({displays[0], displays[1], {9, Rect(-800, 0, 800, 600), {}, 0}});
  s.center.post(kApplicationDidChangeScreenParametersNotification);
  s.displays.setDisplays({displays[0], displays[1]});
  s.center.post(kApplicationDidChangeScreenParametersNotification);
  EXPECT_EQ(m.targetScreen()->id, 2u);

  s.displays.setDisplays({displays[0]});
  s.center.post(kApplicationDidChangeScreenParametersNotification);
  EXPECT_EQ(m.targetScreen()->id, 1u);
  EXPECT_EQ(s.settings.monitorArea.load(), kMain);
}

TEST(ScreenManager, MapsWithItsRotationAndMapping) {
  ScreenManagerSetup s({kMain});
  BTScreenManager m(s.displays, s.center, s.settings);
  m.setScreenMapping(Rect(0, 0, 65535, 65535));
  m.setRotation(90.7);
  EXPECT_EQ(m.rotation(), 90);
  EXPECT_EQ(m.mapTabletCoordinatesToDisplaySpaceWithPoint({100, 200}, Rect(0, 0, 65535, 65535)),
            (Point{65335, 100}));
  m.setRotation(1e12);
  EXPECT_EQ(m.rotation(), 0);
}

}  // namespace
}  // namespace taviro
