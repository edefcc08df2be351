#include <gtest/gtest.h>

#include <random>

#include "EditorFixture.h"

namespace taviro::test {
namespace {

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

TEST(PointerEditing, HoverCursorsFollowTheBandsAndTheInsideOfBothAreas) {
  Editing e;
  const Rect t = e.tablet();
  const Rect s = e.screen();
  struct Case {
    Point p;
    EditorCursor cursor;
  } cases[] = {
      {centre(t), EditorCursor::OpenHand},
      {{t.minX() + 1, centre(t).y}, EditorCursor::SizeHorizontal},
      {{t.minX() + 1, t.maxY() - 1}, EditorCursor::SizeHorizontal},  // a corner
      {{centre(t).x, t.maxY() - 1}, EditorCursor::SizeVertical},
      {centre(s), EditorCursor::OpenHand},
      {{centre(s).x, s.minY() + 1}, EditorCursor::SizeVertical},
      {{s.maxX() - 1, centre(s).y}, EditorCursor::SizeHorizontal},
      {kBlank, EditorCursor::Arrow},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(e.editor.mouseMoved(c.p), c.cursor) << c.p.x << "," << c.p.y;
  }
  EXPECT_EQ(e.tablet(), t);
  EXPECT_EQ(e.screen(), s);
}

TEST(PointerEditing, MovesStopAtTheFrameAndAnAreaOnTheFrameWritesItsEdgeExactly) {
  Editing e;
  const Rect start = e.tablet();
  Point p = centre(start);
  ASSERT_EQ(e.editor.mouseDown(p), EditorCursor::OpenHand);
  e.dragBy(p, 10, 0);
  EXPECT_EQ(e.tablet().minX(), start.minX() + 10);
  e.dragBy(p, 30, 0);  // past the right edge of the surface: dropped whole
  EXPECT_EQ(e.tablet().minX(), start.minX() + 10);
  // Steps count from the last pointer (still over the area): exactly the
  // room that is left, in two steps that each end over the area.
  const Point room{e.tabletFrame().maxX() - e.tablet().maxX(),
                   e.tabletFrame().maxY() - e.tablet().maxY()};
  e.dragBy(p, room.x / 2, room.y / 2);
  e.dragBy(p, room.x / 2, room.y / 2);
  e.editor.mouseUp(p);
  e.editor.drawRect();
  const IntArea t = e.tabletInts();
  EXPECT_EQ(t.offsetX + t.width, 65535);
  EXPECT_EQ(t.offsetY, 0);
  EXPECT_EQ(t.width, 39321);  // moving keeps the size
  EXPECT_EQ(t.height, 39321);

  // The display area likewise, onto the display's left and lower edges.
  Point q = centre(e.screen());
  e.editor.mouseDown(q);
  e.dragBy(q, -40, -20);
  const Rect moved = e.screen();
  e.dragBy(q, -30, 0);  // past the left edge
  EXPECT_EQ(e.screen(), moved);
  e.dragBy(q, e.screenFrame().minX() - e.screen().minX(),
           e.screenFrame().minY() - e.screen().minY());
  e.editor.mouseUp(q);
  e.editor.drawRect();
  EXPECT_EQ(e.screenInts(), (IntArea{0, 0, 960, 540}));
}

TEST(PointerEditing, ACornerPressDragsTheLeftOrRightEdgeOnly) {
  Editing e;
  const Rect start = e.tablet();
  Point p{start.minX() + 1, start.maxY() - 1};  // top-left corner
  ASSERT_EQ(e.editor.mouseDown(p), EditorCursor::SizeHorizontal);
  e.dragBy(p, -10, 10);
  EXPECT_NEAR(e.tablet().minX(), start.minX() - 10, 1e-9);
  EXPECT_NEAR(e.tablet().maxX(), start.maxX(), 1e-9);
  EXPECT_EQ(e.tablet().minY(), start.minY());
  EXPECT_EQ(e.tablet().size.height, start.size.height);
}

TEST(PointerEditing, AReleaseOverTheDisplayEndsATabletEdgeDrag) {
  Editing e;
  const Rect start = e.tablet();
  const Rect screen = e.screen();
  Point p{centre(start).x, start.maxY() - 1};
  ASSERT_EQ(e.editor.mouseDown(p), EditorCursor::SizeVertical);
  e.dragBy(p, 0, 10);
  EXPECT_NEAR(e.tablet().maxY(), start.maxY() + 10, 1e-9);
  const Rect dragged = e.tablet();
  // Up into the display picture, over the display area, and let go there.
  p = centre(e.screen());
  e.editor.mouseDragged(p);
  e.editor.mouseUp(p);
  // Hovering and pressing elsewhere no longer drag the tablet's top edge.
  EXPECT_EQ(e.editor.mouseMoved(kBlank), EditorCursor::Arrow);
  Point q = kBlank;
  EXPECT_EQ(e.editor.mouseDown(q), EditorCursor::Arrow);
  e.dragBy(q, 0, -50);
  e.editor.mouseUp(q);
  EXPECT_EQ(e.tablet(), dragged);
  EXPECT_EQ(e.screen(), screen);
}

TEST(PointerEditing, ADragThatStartsOutsideAnAreaNeitherMovesNorResizesIt) {
  Editing e;
  const Rect tablet = e.tablet();
  const Rect screen = e.screen();
  e.editor.mouseDown(kBlank);
  // Across the tablet area's left band and through its inside, then
  // through the display area.
  for (const Point p : {Point{tablet.minX() + 1, centre(tablet).y}, centre(tablet),
                        Point{centre(tablet).x + 10, centre(tablet).y + 5}, centre(screen),
                        Point{centre(screen).x - 10, centre(screen).y}}) {
    e.editor.mouseDragged(p);
  }
  e.editor.mouseUp(centre(screen));
  EXPECT_EQ(e.tablet(), tablet);
  EXPECT_EQ(e.screen(), screen);
}

TEST(PointerEditing, ThePensMappingFollowsADragAtEveryDraw) {
  Editing e;
  Point p = centre(e.tablet());
  e.editor.mouseDown(p);
  double previousX = e.driver.tabletMapping().minX();
  for (int step = 0; step < 5; ++step) {
    e.dragBy(p, 3, 0);
    e.editor.drawRect();
    const double x = e.driver.tabletMapping().minX();
    EXPECT_GT(x, previousX) << step;
    previousX = x;
  }
  EXPECT_EQ(e.driver.tabletMapping().size.width, 39321);
}

// Whatever the pointer does, no draw writes an area past its frame or
// smaller than a point: the integers always describe a usable mapping.
TEST(PointerEditing, RandomDragsNeverWriteAnAreaPastItsFrame) {
  Editing e;
  std::mt19937 random(14);
  std::uniform_real_distribution<double> step(-40, 40);
  std::uniform_real_distribution<double> unit(0, 1);
  const Rect m = e.driver.tabletSettings().monitorArea.load();
  for (int gesture = 0; gesture < 300; ++gesture) {
    // Press near one of the two areas: inside, on a band or just outside.
    const Rect a = gesture % 2 ? e.tablet() : e.screen();
    Point p{a.minX() - 3 + unit(random) * (a.size.width + 6),
            a.minY() - 3 + unit(random) * (a.size.height + 6)};
    e.editor.mouseDown(p);
    for (int s = 0; s < 8; ++s) {
      e.dragBy(p, step(random), step(random));
      e.editor.drawRect();
      const IntArea t = e.tabletInts();
      ASSERT_GE(t.offsetX, 0);
      ASSERT_GE(t.offsetY, 0);
      ASSERT_LE(t.offsetX + t.width, 65535);
      ASSERT_LE(t.offsetY + t.height, 65535);
      ASSERT_GE(std::min(t.width, t.height), 1000);
      const IntArea sc = e.screenInts();
      ASSERT_GE(sc.offsetX, m.minX());
      ASSERT_GE(sc.offsetY, m.minY());
      ASSERT_LE(sc.offsetX + sc.width, m.maxX());
      ASSERT_LE(sc.offsetY + sc.height, m.maxY());
      ASSERT_GE(std::min(sc.width, sc.height), 50);
    }
    e.editor.mouseUp(p);
  }
}

}  // namespace
}  // namespace taviro::test
