#include <gtest/gtest.h>

#include "DriverTestSupport.h"
#include "driver/PenStateMachine.h"

namespace taviro {
namespace {

using testing::DriverHarness;
using testing::expressKeyReport;
using testing::tabletReport;
using Types = std::vector<std::uint32_t>;
using fakes::ShortcutCall;

constexpr std::uint8_t kHover = 0xC0;  // in range, nothing pressed (X odd)
constexpr std::uint8_t kTip = 0xC1;

class PenStateMachine : public ::testing::Test {
 protected:
  void SetUp() override {
    for (int k = 0; k < 16; ++k) h.fakes.shortcuts.commands[k] = "cmd" + std::to_string(k);
    h.start();
  }
  // A group of four reports whose smoothed samples are x, x+dx, x+2dx.
  void stroke(std::uint8_t status, std::uint32_t x, std::uint32_t dx, std::uint16_t pressure) {
    for (std::uint32_t i = 0; i < 4; ++i) h.feed(tabletReport(status, x + i * dx, 1001, pressure));
  }
  Types drainTypes() {
    Types t = h.fakes.events.types();
    h.fakes.events.clear();
    return t;
  }
  std::vector<ShortcutCall> runQueued() {
    h.fakes.mainQueue.drain();
    return h.fakes.shortcuts.calls();
  }
  DriverHarness h;
};

TEST_F(PenStateMachine, EnteringAndLeavingRangePostsAProximityPair) {
  stroke(kHover, 1001, 0, 0);
  auto events = h.fakes.events.events();
  ASSERT_EQ(drainTypes(), (Types{5, 5, 24}));  // the smoothing's move, then the pair
  const NXEventData& first = events[1].data;
  EXPECT_EQ(first.mouseMove.subType, NX_SUBTYPE_TABLET_PROXIMITY);
  EXPECT_EQ(first.mouseMove.tablet.proximity.enterProximity, 1);
  const NXTabletProximityData& p = events[2].data.tablet.proximity;
  EXPECT_EQ(p.enterProximity, 1);
  EXPECT_EQ(p.vendorID, 0x6161);
  EXPECT_EQ(p.tabletID, 0x4D15);
  EXPECT_EQ(p.deviceID, 0x81);
  EXPECT_EQ(p.vendorPointerType, 0x0802);
  EXPECT_EQ(p.pointerSerialNumber, 1u);
  EXPECT_EQ(p.uniqueID, 0x23u);
  EXPECT_EQ(p.capabilityMask, 0x0407u);
  EXPECT_EQ(p.pointerType, 1);
  EXPECT_EQ(events[2].location.x, 1001);
  EXPECT_EQ(events[2].options, 0u);

  stroke(0x00, 1000, 0, 0);
  events = h.fakes.events.events();
  ASSERT_EQ(drainTypes(), (Types{5, 5, 24}));
  EXPECT_EQ(events[2].data.tablet.proximity.enterProximity, 0);
  EXPECT_FALSE(h.driver->isDragging());
}

TEST_F(PenStateMachine, TipDownDragAndTipUpPostButtonsAndDrags) {
  stroke(kHover, 1001, 0, 0);
  drainTypes();
  stroke(kTip, 1001, 0, 4096);
  auto events = h.fakes.events.events();
  EXPECT_EQ(drainTypes(), (Types{1}));
  EXPECT_EQ(events[0].data.mouse.eventNum, 0);
  EXPECT_EQ(events[0].data.mouse.pressure, 127);
  EXPECT_EQ(events[0].data.mouse.subType, NX_SUBTYPE_TABLET_POINT);
  EXPECT_EQ(events[0].data.mouse.tablet.point.deviceID, 0x81);

  stroke(kTip, 1101, 100, 4096);  // moves along the group: three moves, then the drag
  events = h.fakes.events.events();
  EXPECT_EQ(drainTypes(), (Types{5, 5, 5, 6}));
  EXPECT_TRUE(h.driver->isDragging());
  const NXEventData& drag = events[3].data;
  EXPECT_EQ(drag.mouseMove.subType, NX_SUBTYPE_TABLET_POINT);
  EXPECT_EQ(drag.mouseMove.tablet.point.pressure, 32767);
  EXPECT_EQ(drag.mouseMove.dx, 1301 - 1001);
  EXPECT_EQ(events[3].options, kIOHIDSetCursorPosition);
  EXPECT_EQ(events[3].location.x, 1301);

  stroke(kTip, 1301, 0, 6000);  // held still, pressure changes: still a drag
  EXPECT_EQ(drainTypes(), (Types{6}));
  stroke(kTip, 1301, 0, 6000);  // nothing changes: nothing posted
  EXPECT_EQ(drainTypes(), (Types{}));

  stroke(kHover, 1301, 0, 0);
  events = h.fakes.events.events();
  EXPECT_EQ(drainTypes(), (Types{2}));
  EXPECT_EQ(events[0].data.mouse.eventNum, 1);
  EXPECT_FALSE(h.driver->isDragging());
}

TEST_F(PenStateMachine, HoveringWithOnlyPressureChangingPostsNothing) {
  stroke(kHover, 1001, 0, 0);
  drainTypes();
  stroke(kHover, 1001, 0, 3000);
  EXPECT_EQ(drainTypes(), (Types{}));
  stroke(kHover, 1101, 100, 3000);
  EXPECT_EQ(drainTypes(), (Types{5, 5, 5, 5}));
}

TEST_F(PenStateMachine, LeavingRangeEndsADragWithoutMouseUp) {
  stroke(kHover, 1001, 0, 0);
  stroke(kTip, 1001, 0, 4096);
  stroke(kTip, 1101, 100, 4096);
  ASSERT_TRUE(h.driver->isDragging());
  drainTypes();
  stroke(0x00, 1300, 0, 0);
  EXPECT_EQ(drainTypes(), (Types{5, 5, 24}));
  EXPECT_FALSE(h.driver->isDragging());
}

TEST_F(PenStateMachine, StylusButtonRunsItsShortcutOncePerPressAndAgainOnRelease) {
  stroke(kHover, 1001, 0, 0);
  for (int i = 0; i < 3; ++i) h.feed(tabletReport(0xC2, 1001, 1001));
  EXPECT_TRUE(h.fakes.shortcuts.calls().empty());  // queued, not yet run
  EXPECT_EQ(runQueued(), (std::vector<ShortcutCall>{{"cmd5", true, 5}}));
  EXPECT_TRUE(h.driver->oldStylus().pen_near);
  stroke(kHover, 1001, 0, 0);
  EXPECT_EQ(runQueued(),
            (std::vector<ShortcutCall>{{"cmd5", true, 5}, {"cmd5", false, 5}}));
  EXPECT_FALSE(h.driver->oldStylus().pen_near);
  EXPECT_FALSE(h.driver->oldStylus().button[5]);
}

TEST_F(PenStateMachine, ExpressKeysRunOnEveryReportAndAgainOnRelease) {
  h.feed(expressKeyReport(3));
  h.feed(expressKeyReport(3));
  h.feed(expressKeyReport(0));
  // Keys 11-16 have no latch in the pen state; their release must still run
  // the up call, or a chord on them would stay held.
  h.feed(expressKeyReport(11));
  h.feed(expressKeyReport(11));
  h.feed(expressKeyReport(0));
  h.feed(expressKeyReport(0));
  EXPECT_EQ(runQueued(), (std::vector<ShortcutCall>{{"cmd2", true, 2},
                                                    {"cmd2", true, 2},
                                                    {"cmd2", false, 2},
                                                    {"cmd10", true, 10},
                                                    {"cmd10", true, 10},
                                                    {"cmd10", false, 10}}));
}

TEST_F(PenStateMachine, ExpressKeyEightActsAsThePenTip) {
  stroke(kHover, 1001, 0, 0);
  drainTypes();
  for (int i = 0; i < 4; ++i) h.feed(expressKeyReport(8));
  EXPECT_EQ(drainTypes(), (Types{5, 1}));  // its bytes are a position sample too
  EXPECT_TRUE(runQueued().empty());
}

TEST_F(PenStateMachine, ShortcutsOffStillLatchButQueueNothing) {
  h.driver->setEnableShourtcut(false);
  h.feed(expressKeyReport(2));
  EXPECT_TRUE(h.driver->oldStylus().button[1]);
  h.feed(expressKeyReport(0));
  EXPECT_FALSE(h.driver->oldStylus().button[1]);
  EXPECT_EQ(h.fakes.mainQueue.pending(), 0u);
  EXPECT_TRUE(h.fakes.shortcuts.lookups().empty());
}

TEST(PenTransitionDecision, NamesOneTransitionPerState) {
  StylusState prev, cur;
  prev.off_tablet = true;
  EXPECT_EQ(decidePenTransition(cur, prev, true), PenTransition::ProximityChange);
  prev.off_tablet = false;
  prev.button_mask = kMaskTip;
  EXPECT_EQ(decidePenTransition(cur, prev, true), PenTransition::TipUp);
  prev.button_mask = 0;
  cur.button_mask = kMaskTip;
  EXPECT_EQ(decidePenTransition(cur, prev, false), PenTransition::TipDown);
  cur.button_mask = kMaskTip | 0x0001;  // tip with an express key: no mouse-down
  EXPECT_EQ(decidePenTransition(cur, prev, false), PenTransition::None);
  prev.button_mask = kMaskTip;
  cur.button_mask = kMaskTip;
  cur.pressure = 5;
  EXPECT_EQ(decidePenTransition(cur, prev, false), PenTransition::DragStart);
  EXPECT_EQ(decidePenTransition(cur, prev, true), PenTransition::Drag);
  cur.pressure = 0;
  EXPECT_EQ(decidePenTransition(cur, prev, true), PenTransition::None);
  cur.button_mask = prev.button_mask = 0;
  cur.motion = {1, 0};
  EXPECT_EQ(decidePenTransition(cur, prev, false), PenTransition::Move);
}

}  // namespace
}  // namespace taviro
