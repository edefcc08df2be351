#pragma once
// A mapping editor on a real driver over fake displays, sized as in the
// panel, with the panel's two calls that go with it: choosing a display and
// loading the settings.
#include <gtest/gtest.h>

#include <ostream>
#include <vector>

#include "FakePlatform.h"
#include "display/ScreenGeometry.h"
#include "driver/BTDriverManager.h"
#include "foundation/Log.h"
#include "mapping/MappingEditor.h"
#include "mapping/MappingGeometry.h"

namespace taviro {

inline void PrintTo(const IntArea& a, std::ostream* os) {
  *os << "(" << a.offsetX << ", " << a.offsetY << ", " << a.width << ", " << a.height << ")";
}
inline void PrintTo(const Rect& r, std::ostream* os) {
  *os << "(" << r.minX() << ", " << r.minY() << ", " << r.size.width << ", " << r.size.height
      << ")";
}

}  // namespace taviro

namespace taviro::test {

inline const Rect kPanelView(0, 0, 400, 418);

struct EditorFixture {
  explicit EditorFixture(std::vector<Rect> displays = {Rect(0, 0, 1920, 1080)})
      : previousSink(setLogSink([](std::string_view) {})),
        platform({}, std::move(displays)),
        driver(platform.platform()) {
    driver.screenManager();  // targets display 0 and fills monitorArea
    editor.setDriver(&driver);
    editor.setVisibleRect(kPanelView);
    editor.setUpdateTabletOffset([this](double l, double u, double r, double d) {
      reported.push_back(TabletOffset{l, u, r, d});
    });
  }
  ~EditorFixture() { setLogSink(previousSink); }

  IntArea tabletInts() {
    const TabletSettings& s = driver.tabletSettings();
    return IntArea{s.tabletOffsetX, s.tabletOffestY, s.tabletWidth, s.tabletHeight};
  }
  IntArea screenInts() {
    const TabletSettings& s = driver.tabletSettings();
    return IntArea{s.screenOffsetX, s.screenOffsetY, s.screenWidth, s.screenHeight};
  }
  static Rect rectOf(const IntArea& a) { return Rect(a.offsetX, a.offsetY, a.width, a.height); }

  // The panel's selection: the display manager's target, then the editor.
  void selectDisplay(int index) {
    driver.screenManager().setTargetScreen(
        yk_objectAtIndex(platform.displays.activeDisplays(), std::size_t(index)));
    editor.selectMonitorIndex(index);
  }
  // The panel loading its settings: rotation, then the stored display.
  void loadSettings() {
    editor.setLoadingSettings(true);
    editor.initTabletRotate(driver.tabletRotation());
    selectDisplay(driver.displayId());
    editor.setLoadingSettings(false);
  }

  LogSink previousSink;
  fakes::FakePlatform platform;
  BTDriverManager driver;
  MappingEditor editor;
  std::vector<TabletOffset> reported;
};

inline void expectRectNear(const Rect& actual, const Rect& expected, double tolerance = 1e-9) {
  EXPECT_NEAR(actual.minX(), expected.minX(), tolerance);
  EXPECT_NEAR(actual.minY(), expected.minY(), tolerance);
  EXPECT_NEAR(actual.size.width, expected.size.width, tolerance);
  EXPECT_NEAR(actual.size.height, expected.size.height, tolerance);
}

inline void expectOffsetNear(const TabletOffset& actual, const TabletOffset& expected) {
  EXPECT_NEAR(actual.left, expected.left, 1e-12);
  EXPECT_NEAR(actual.up, expected.up, 1e-12);
  EXPECT_NEAR(actual.right, expected.right, 1e-12);
  EXPECT_NEAR(actual.down, expected.down, 1e-12);
}

inline Point centre(const Rect& r) {
  return Point{r.minX() + r.size.width / 2, r.minY() + r.size.height / 2};
}

}  // namespace taviro::test
