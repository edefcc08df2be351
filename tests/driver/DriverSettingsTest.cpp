#include <gtest/gtest.h>

#include "DriverHarness.h"

namespace taviro {
namespace {

using testing::DriverHarness;

Value::Array rect(double x, double y, double w, double h) { return {x, y, w, h}; }

// A first run, and stored values of the wrong kind, give the defaults.
TEST(DriverSettings, FirstRunAndWrongKindsOfStoredValuesGiveTheDefaults) {
  const Value::Dict wrongKinds{{DriverKeys::pressure, "heavy"},
                               {DriverKeys::smoothing, Value::Array{1}},
                               {DriverKeys::enableShortcut, "no"},
                               {DriverKeys::offset, 7},
                               {DriverKeys::screenArea, Value::Array{1.0, 2.0}},
                               {DriverKeys::tabletArea, "all"}};
  for (const Value::Dict& stored : {Value::Dict{}, wrongKinds}) {
    DriverHarness h(stored, {Rect(0, 0, 2560, 1440), Rect(2560, 0, 1920, 1080)});
    BTDriverManager d(h.fakes.platform());
    EXPECT_FLOAT_EQ(d.pressureDamping(), 0.5f);
    EXPECT_FLOAT_EQ(d.pressureMod(), 1.0f);
    EXPECT_EQ(d.smoothingLevel(), 4);
    EXPECT_EQ(d.cursorOffset(), (Point{0, 0}));
    EXPECT_EQ(d.tabletRotation(), 0);
    EXPECT_FALSE(d.enableMouse());
    EXPECT_TRUE(d.enableShourtcut());
    EXPECT_EQ(d.displayId(), 0);
    EXPECT_EQ(d.screenArea(), Rect(0, 0, 2560, 1440));  // the first display's frame
    EXPECT_EQ(d.tabletArea(), Rect(0, 0, 65535, 65535));
    EXPECT_FLOAT_EQ(d.pressureDeadZone(), 0.0f);
    const TabletSettings& s = d.tabletSettings();
    EXPECT_EQ(s.tabletWidth, 65535);
    EXPECT_EQ(s.screenWidth, 2560);
    EXPECT_TRUE(s.tabletKeys);
    EXPECT_EQ(s.monitorArea.load(), Rect());  // until the display manager picks its target
    if (stored.empty())  // only the offset is written on a first run, and at once
      EXPECT_EQ(h.fakes.storage->domain(), (Value::Dict{{DriverKeys::offset, Value::Array{0.0, 0.0}}}));
  }
}

TEST(DriverSettings, SavedSettingsReadBackInANewDriver) {
  DriverHarness h({});
  {
    BTDriverManager d(h.fakes.platform());
    d.setDisplayId(2);
    d.setSmoothingLevel(7);
    d.setPressureDamping(0.25f);
    d.setTabletRotation(270);
    d.setEnableMouse(true);
    d.setEnableShourtcut(false);
    d.setPressureDeadZone(0.125f);
    d.setScreenArea(Rect(10, 20, 800, 600));
    d.setTabletArea(Rect(100, 200, 30000, 20000));
    d.setCursorOffset({3, -4});
    d.saveSettings();
  }
  EXPECT_EQ(h.fakes.shortcuts.saves, 1);
  UserDefaults reread(std::make_unique<fakes::MemoryDefaultsStorage>(h.fakes.storage->domain()));
  DriverPlatform p = h.fakes.platform();
  p.defaults = &reread;
  BTDriverManager d(p);
  EXPECT_EQ(d.displayId(), 2);
  EXPECT_EQ(d.smoothingLevel(), 7);
  EXPECT_FLOAT_EQ(d.pressureDamping(), 0.25f);
  EXPECT_EQ(d.tabletRotation(), 270);
  EXPECT_TRUE(d.enableMouse());
  EXPECT_FALSE(d.enableShourtcut());
  EXPECT_FLOAT_EQ(d.pressureDeadZone(), 0.125f);
  EXPECT_EQ(d.screenArea(), Rect(10, 20, 800, 600));
  EXPECT_EQ(d.tabletArea(), Rect(100, 200, 30000, 20000));
  EXPECT_EQ(d.cursorOffset(), (Point{3, -4}));
  EXPECT_EQ(d.tabletSettings().rotation, 270);
  EXPECT_FALSE(d.tabletSettings().tabletKeys);
  EXPECT_TRUE(d.tabletSettings().mouseMode);
}

TEST(DriverSettings, StoredAreasAreReadThroughSinglePrecisionAndTruncated) {
  DriverHarness h({{DriverKeys::screenArea, rect(100.7, 50.2, 16777217.0, 600.5)},
                   {DriverKeys::tabletArea, rect(10, 20, 30000, 20000)}});
  BTDriverManager& d = h.start();
  const TabletSettings& s = d.tabletSettings();
  EXPECT_EQ(s.screenOffsetX, 100);
  EXPECT_EQ(s.screenOffsetY, 50);
  EXPECT_EQ(s.screenWidth, 16777216);  // lost beyond a float's mantissa
  EXPECT_EQ(s.screenHeight, 600);
  // initializeScreenSettings brings the doubles in line with the integers.
  EXPECT_EQ(d.screenArea(), Rect(100, 50, 16777216, 600));

  // The tablet mapping takes -1 as its default.
  d.setTabletMapping(Rect(-1, -1, -1, -1));
  EXPECT_EQ(d.tabletMapping(), Rect(0, 0, 30000, 20000));
  d.setTabletMapping(Rect(0.1, -1, 100.3, -1));
  EXPECT_EQ(d.tabletMapping(), Rect(double{0.1f}, 0, double{100.3f}, 20000));
  d.tabletSettings().tabletOffsetX = 5;
  d.updateTabletMapping();
  EXPECT_EQ(d.tabletMapping(), Rect(5, 20, 30000, 20000));
}

TEST(DriverSettings, ClearConfigThenInitConfigRestoresTheDefaultsAndKeepsOtherKeys) {
  DriverHarness h({{DriverKeys::pressure, 0.9},
                   {DriverKeys::displayId, 3},
                   {DriverKeys::offset, Value::Array{4.0, 4.0}},
                   {DriverKeys::shortcutSettings, "{}"},
                   {"unrelated", 1}});
  BTDriverManager d(h.fakes.platform());
  EXPECT_EQ(d.displayId(), 3);
  d.clearConfig();
  EXPECT_EQ(d.displayId(), 3);  // in-memory settings stay until initConfig
  EXPECT_EQ(h.fakes.shortcuts.resets, 1);
  d.initConfig();
  EXPECT_EQ(d.displayId(), 0);
  EXPECT_FLOAT_EQ(d.pressureDamping(), 0.5f);
  const Value::Dict stored = h.fakes.storage->domain();
  EXPECT_EQ(stored.at(DriverKeys::offset), Value(Value::Array{0.0, 0.0}));
  EXPECT_FALSE(stored.contains(DriverKeys::shortcutSettings));
  EXPECT_TRUE(stored.contains("unrelated"));

}

}  // namespace
}  // namespace taviro
