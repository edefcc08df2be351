// The display manager set up by the driver follows the stored rotation and
// display choice from the start, before the mapping editor ever runs.
#include <gtest/gtest.h>

#include "DriverHarness.h"

namespace taviro {
namespace {

TEST(StoredScreenSettings, RotationShapesTheMappingFromStart) {
  Value::Dict stored = testing::identityMapping();
  stored[DriverKeys::rotation] = 90;
  testing::DriverHarness h(stored);
  BTDriverManager& d = h.start();
  EXPECT_EQ(d.screenManager().rotation(), 90);
  for (int i = 0; i < 4; ++i) {
    const auto r = testing::tabletReport(0xC0, 101, 200);
    d.didReceiveReport(r.data(), 8);
  }
  EXPECT_EQ(d.stylus().point, (Int32Point{65335, 101}));
}

TEST(StoredScreenSettings, DisplayChoiceIsTheTargetFromStart) {
  Value::Dict stored{{DriverKeys::displayId, 1},
                     {DriverKeys::screenArea, Value::Array{0.0, 0.0, 1280.0, 1024.0}}};
  testing::DriverHarness h(stored, {Rect(0, 0, 1920, 1080), Rect(1920, 0, 1280, 1024)});
  BTDriverManager& d = h.start();
  EXPECT_EQ(d.screenManager().targetScreen()->id, 2u);
  EXPECT_EQ(d.tabletSettings().monitorArea.load(), Rect(1920, 56, 1280, 1024));
  EXPECT_EQ(d.screenManager().screenMapping(), Rect(0, 56, 1280, 1024));
}

}  // namespace
}  // namespace taviro
