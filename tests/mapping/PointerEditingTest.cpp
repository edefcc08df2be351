#include <gtest/gtest.h>

#include <random>

#include "EditorFixture.h"
#include "mapping/BTDropBoundleArea.h"

namespace taviro::test {
namespace {

// The tracker alone: an area of 100 x 50 at (100, 100) in a frame from
// (50, 50) to (350, 250).
struct Tracked {
  Rect area{100, 100, 100, 50};
  Rect frame{50, 50, 300, 200};
  BTDropBoundleArea tracker{&area, &frame};
  std::int32_t at(PointerPhase phase, double x, double y) { return tracker.update(phase, {x, y}); }
};

TEST(DropBoundleArea, ClassifiesTheBandsBeforeTheInsideCornersAsLeftOrRight) {
  struct Case {
    Point p;
    std::int32_t expected;
  } cases[] = {
      {{100, 100}, kDropLeft},   {{199, 149}, kDropRight}, {{150, 147}, kDropTop},
      {{150, 100}, kDropBottom}, {{150, 125}, kDropMove},  {{200, 125}, kDropIdle},
  };
  for (const Case& c : cases) {
    Tracked t;
    EXPECT_EQ(t.at(PointerPhase::Moved, c.p.x, c.p.y), c.expected) << c.p.x << "," << c.p.y;
    EXPECT_EQ(t.area, Rect(100, 100, 100, 50));  // hovering changes nothing
  }
}

TEST(DropBoundleArea, AGrabbedEdgeFollowsUntilTheFrameOrTheSmallestSide) {
  Tracked t;
  ASSERT_EQ(t.at(PointerPhase::Press, 101, 101), kDropLeft);  // a corner
  EXPECT_EQ(t.at(PointerPhase::Drag, 90, 160), kDropLeft);    // off the band: still held
  EXPECT_EQ(t.area, Rect(89, 100, 111, 50));
  t.at(PointerPhase::Drag, 30, 160);  // to 29, past the frame: dropped whole
  EXPECT_EQ(t.area.minX(), 89);
  t.at(PointerPhase::Drag, 0, 160);    // steps count from the last pointer: to 59
  t.at(PointerPhase::Drag, 136, 160);  // would leave 5 points: dropped
  EXPECT_EQ(t.area, Rect(59, 100, 141, 50));
  // A drag into a band tested earlier hands the drag over to that edge.
  Tracked u;
  u.at(PointerPhase::Press, 198, 125);
  u.at(PointerPhase::Drag, 130, 125);
  EXPECT_EQ(u.at(PointerPhase::Drag, 102, 125), kDropLeft);
  EXPECT_EQ(u.area, Rect(72, 100, 60, 50));
  // A release lets go; a later drag pressed elsewhere grabs no edge it crosses.
  u.at(PointerPhase::Release, 102, 125);
  u.at(PointerPhase::Press, 60, 125);
  EXPECT_EQ(u.at(PointerPhase::Drag, 128, 125), kDropRight);
  EXPECT_EQ(u.area, Rect(72, 100, 60, 50));
}

// A display of 1920 x 1080 whose centre quarter is mapped, and the middle
// 60 % of the tablet.
struct Editing : EditorFixture {
  Editing() {
    driver.setScreenArea(Rect(480, 270, 960, 540));
    loadSettings();
    editor.adjustTabletOffset(Rect(0.2, 0.2, 0.6, 0.6));
    editor.drawRect();
  }
  Rect tablet() const { return editor.tabletViewInfo()._monitorDropArea; }
  Rect tabletFrame() const { return editor.tabletViewInfo()._monitorRect; }
  Rect screen() const { return editor.monitorViewInfo()._monitorDropArea; }
  Rect screenFrame() const { return editor.monitorViewInfo()._monitorRect; }
  void dragBy(Point& p, double dx, double dy) {
    p = Point{p.x + dx, p.y + dy};
    editor.mouseDragged(p);
  }
};

constexpr Point kBlank{20, 100};  // left of the tablet picture, below the display

TEST(PointerEditing, MovesStopAtTheFrameAndAnAreaOnTheFrameWritesItsEdgeExactly) {
  Editing e;
  const Rect start = e.tablet();
  Point p = centre(start);
  ASSERT_EQ(e.editor.mouseDown(p), EditorCursor::OpenHand);
  e.dragBy(p, 10, 0);
  e.dragBy(p, 30, 0);  // past the surface's right edge: dropped whole
  EXPECT_EQ(e.tablet().minX(), start.minX() + 10);
  // Steps count from the last pointer: exactly the room that is left, in two
  // steps that each end over the area.
  const Point room{e.tabletFrame().maxX() - e.tablet().maxX(),
                   e.tabletFrame().maxY() - e.tablet().maxY()};
  e.dragBy(p, room.x / 2, room.y / 2);
  e.dragBy(p, room.x / 2, room.y / 2);
  e.editor.mouseUp(p);
  e.editor.drawRect();
  EXPECT_EQ(e.tabletInts(), (IntArea{65535 - 39321, 0, 39321, 39321}));

  Point q = centre(e.screen());
  e.editor.mouseDown(q);
  e.dragBy(q, -40, -20);
  e.dragBy(q, -30, 0);  // past the display's left edge
  e.dragBy(q, e.screenFrame().minX() - e.screen().minX(),
           e.screenFrame().minY() - e.screen().minY());
  e.editor.mouseUp(q);
  e.editor.drawRect();
  EXPECT_EQ(e.screenInts(), (IntArea{0, 0, 960, 540}));
}

// A drag belongs to the area where it was pressed: a release anywhere ends
// it, even over the other area, and a drag pressed elsewhere changes nothing.
TEST(PointerEditing, ADragBelongsToTheAreaWhereItStarted) {
  Editing e;
  const Rect screen = e.screen();
  Point p{centre(e.tablet()).x, e.tablet().maxY() - 1};
  ASSERT_EQ(e.editor.mouseDown(p), EditorCursor::SizeVertical);
  e.dragBy(p, 0, 10);
  const Rect tablet = e.tablet();
  EXPECT_EQ(tablet.size.height, Editing().tablet().size.height + 10);
  e.editor.mouseDragged(centre(screen));  // the tablet's top edge, over the display
  e.editor.mouseUp(centre(screen));
  EXPECT_EQ(e.editor.mouseMoved(kBlank), EditorCursor::Arrow);
  e.editor.mouseDown(kBlank);
  for (const Point q : {Point{kBlank.x, kBlank.y - 50}, Point{tablet.minX() + 1, centre(tablet).y},
                        centre(tablet), Point{centre(tablet).x + 10, centre(tablet).y + 5},
                        centre(screen), Point{centre(screen).x - 10, centre(screen).y}}) {
    e.editor.mouseDragged(q);
  }
  e.editor.mouseUp(centre(screen));
  EXPECT_EQ(e.tablet(), tablet);
  EXPECT_EQ(e.screen(), screen);
}

// Whatever the pointer does, no draw writes an area past its frame or below
// the smallest size: the integers always make a usable mapping.
TEST(PointerEditing, RandomDragsNeverWriteAnAreaPastItsFrame) {
  Editing e;
  std::mt19937 random(14);
  std::uniform_real_distribution<double> step(-40, 40);
  std::uniform_real_distribution<double> unit(0, 1);
  const Rect m = e.driver.tabletSettings().monitorArea.load();
  for (int gesture = 0; gesture < 300; ++gesture) {
    // A press inside, on a band or just outside one of the areas.
    const Rect a = gesture % 2 ? e.tablet() : e.screen();
    Point p{a.minX() - 3 + unit(random) * (a.size.width + 6),
            a.minY() - 3 + unit(random) * (a.size.height + 6)};
    e.editor.mouseDown(p);
    for (int s = 0; s < 8; ++s) {
      e.dragBy(p, step(random), step(random));
      e.editor.drawRect();
      const IntArea t = e.tabletInts();
      ASSERT_TRUE(t.offsetX >= 0 && t.offsetY >= 0 && t.offsetX + t.width <= 65535 &&
                  t.offsetY + t.height <= 65535 && std::min(t.width, t.height) >= 3000)
          << ::testing::PrintToString(t);
      const IntArea s2 = e.screenInts();
      ASSERT_TRUE(s2.offsetX >= m.minX() && s2.offsetY >= m.minY() &&
                  s2.offsetX + s2.width <= m.maxX() && s2.offsetY + s2.height <= m.maxY() &&
                  std::min(s2.width, s2.height) >= 70)
          << ::testing::PrintToString(s2);
    }
    e.editor.mouseUp(p);
  }
}

}  // namespace
}  // namespace taviro::test
