#include <gtest/gtest.h>

#include "mapping/BTDropBoundleArea.h"
#include "mapping/MappingGeometry.h"

namespace taviro {
namespace {

// An area of 100 x 50 at (100, 100) in a frame from (50, 50) to (350, 250).
struct Tracked {
  Rect area{100, 100, 100, 50};
  Rect frame{50, 50, 300, 200};
  BTDropBoundleArea tracker{&area, &frame};

  std::int32_t press(double x, double y) { return tracker.update(PointerPhase::Press, {x, y}); }
  std::int32_t drag(double x, double y) { return tracker.update(PointerPhase::Drag, {x, y}); }
};

TEST(DropBoundleArea, ClassifiesBandsBeforeTheInsideAndCornersAsLeftOrRight) {
  struct Case {
    Point p;
    std::int32_t expected;
  } cases[] = {
      {{100, 100}, kDropLeft},      // bottom-left corner
      {{104.9, 149.9}, kDropLeft},  // top-left corner
      {{199, 149}, kDropRight},     // top-right corner
      {{196, 100}, kDropRight},     // bottom-right corner
      {{150, 147}, kDropTop},      {{150, 100}, kDropBottom}, {{150, 125}, kDropMove},
      {{99.9, 125}, kDropIdle},    {{200, 125}, kDropIdle},  // the right and top edges lie outside
      {{150, 150}, kDropIdle},
  };
  for (const Case& c : cases) {
    Tracked t;
    EXPECT_EQ(t.tracker.update(PointerPhase::Moved, c.p), c.expected) << c.p.x << "," << c.p.y;
    EXPECT_EQ(t.area, Rect(100, 100, 100, 50));  // hovering changes nothing
  }
}

TEST(DropBoundleArea, AnEdgeDragStopsAtTheFrameAndKeepsTheOppositeEdge) {
  Tracked t;
  ASSERT_EQ(t.press(102, 125), kDropLeft);
  EXPECT_EQ(t.drag(90, 125), kDropLeft);
  EXPECT_EQ(t.area, Rect(88, 100, 112, 50));
  // Off the band the grabbed edge stays grabbed.
  EXPECT_EQ(t.drag(60, 160), kDropLeft);
  EXPECT_EQ(t.area.minX(), 58);
  EXPECT_EQ(t.drag(40, 160), kDropLeft);  // to 38, past the frame: dropped whole
  EXPECT_EQ(t.area.minX(), 58);
  EXPECT_EQ(t.drag(32, 160), kDropLeft);  // steps count from the last pointer: to 50
  EXPECT_EQ(t.area.minX(), 50);
  t.drag(24, 160);
  EXPECT_EQ(t.area.minX(), 50);
  EXPECT_EQ(t.area.maxX(), 200);
}

TEST(DropBoundleArea, EdgeDragsReachTheFrameExactly) {
  struct Case {
    Point press, to;
    Rect expected;
  } cases[] = {
      {{102, 125}, {52, 125}, Rect(50, 100, 150, 50)},     // left edge onto the frame
      {{198, 125}, {348, 125}, Rect(100, 100, 250, 50)},   // right edge
      {{150, 101}, {150, 51}, Rect(100, 50, 100, 100)},    // bottom edge
      {{150, 148}, {150, 248}, Rect(100, 100, 100, 150)},  // top edge
  };
  for (const Case& c : cases) {
    Tracked t;
    t.press(c.press.x, c.press.y);
    t.drag(c.to.x, c.to.y);
    EXPECT_EQ(t.area, c.expected);
  }
}

TEST(DropBoundleArea, NoStepShrinksAnAreaBelowTheSmallestSide) {
  Tracked t;
  ASSERT_EQ(t.press(198, 125), kDropRight);
  t.drag(115, 125);  // 17 points wide
  EXPECT_EQ(t.area.size.width, 17);
  t.drag(110, 125);  // 12
  t.drag(106, 125);  // would be 8: dropped
  EXPECT_EQ(t.area.size.width, 12);
  // A stored area below the minimum may still grow.
  Tracked small;
  small.area = Rect(100, 100, 4, 50);
  ASSERT_EQ(small.press(100, 101), kDropLeft);
  small.drag(98, 101);
  EXPECT_EQ(small.area, Rect(98, 100, 6, 50));
}

TEST(DropBoundleArea, AGrabbedEdgeGivesWayToABandTestedEarlier) {
  Tracked t;
  ASSERT_EQ(t.press(198, 125), kDropRight);
  t.drag(130, 125);  // the right edge to 132
  EXPECT_EQ(t.area, Rect(100, 100, 32, 50));
  // Into the left band: from here the left edge follows.
  EXPECT_EQ(t.drag(102, 125), kDropLeft);
  EXPECT_EQ(t.area, Rect(72, 100, 60, 50));
}

TEST(DropBoundleArea, OnlyAPressGrabsAnEdgeAndAReleaseLetsGo) {
  Tracked t;
  // Dragging across a band with the button pressed elsewhere resizes nothing.
  EXPECT_EQ(t.drag(102, 125), kDropLeft);
  EXPECT_EQ(t.drag(60, 125), kDropIdle);
  EXPECT_EQ(t.area, Rect(100, 100, 100, 50));
  t.press(102, 125);
  t.tracker.update(PointerPhase::Release, {102, 125});
  EXPECT_FALSE(t.tracker.isResize());
  EXPECT_EQ(t.drag(60, 125), kDropIdle);
  EXPECT_EQ(t.area, Rect(100, 100, 100, 50));
}

}  // namespace
}  // namespace taviro
