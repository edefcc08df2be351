#pragma once
// A mapping editor on a real driver over fake displays, sized as in the
// panel, with the panel's calls that go with it.
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

namespace test {

struct EditorFixture {
  explicit EditorFixture(std::vector<Rect> displays = {Rect(0, 0, 1920, 1080)})
      : previousSink(setLogSink([](std::string_view) {})),
        platform({}, std::move(displays)),
        driver(platform.platform()) {
    driver.screenManager();  // targets display 0 and fills monitorArea
    editor.setDriver(&driver);
    editor.setVisibleRect(Rect(0, 0, 360, 418));
    editor.setUpdateTabletOffset([this](double l, double u, double r, double d) {
      reported = TabletOffset{l, u, r, d};
    });
  }
  ~EditorFixture() { setLogSink(previousSink); }

  IntArea tabletInts() { return stored(driver.tabletSettings(), kTabletFields); }
  IntArea screenInts() { return stored(driver.tabletSettings(), kScreenFields); }
  static Rect rectOf(const IntArea& a) { return Rect(a.offsetX, a.offsetY, a.width, a.height); }

  // The panel's display selection: the display manager's target, then the
  // editor.
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
  TabletOffset reported;  // what the offset fields were told last
};

inline void expectRectNear(const Rect& actual, const Rect& expected) {
  EXPECT_NEAR(actual.minX(), expected.minX(), 1e-9);
  EXPECT_NEAR(actual.minY(), expected.minY(), 1e-9);
  EXPECT_NEAR(actual.size.width, expected.size.width, 1e-9);
  EXPECT_NEAR(actual.size.height, expected.size.height, 1e-9);
}

inline Point centre(const Rect& r) {
  return Point{r.minX() + r.size.width / 2, r.minY() + r.size.height / 2};
}

}  // namespace test
}  // namespace taviro
