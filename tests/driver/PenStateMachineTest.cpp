#include <gtest/gtest.h>

#include "DriverHarness.h"

namespace taviro::testing {
namespace {

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

// One pen session, group by group: what each group of four reports posts.
TEST_F(PenStateMachine, ASessionPostsOneTransitionPerGroup) {
  struct Step {
    std::uint8_t status;
    std::uint32_t x, dx;
    std::uint16_t pressure;
    Types posted;
    bool dragging;
  } steps[] = {
      {kHover, 1001, 0, 0, {5, 5, 24}, false},      // enters: the smoothing's move, then the pair
      {kHover, 1001, 0, 3000, {}, false},           // hovering, only pressure changes: nothing
      {kTip, 1001, 0, 4096, {1}, false},            // tip down
      {kTip, 1101, 100, 4096, {5, 5, 5, 6}, true},  // three moves along the group, then the drag
      {kTip, 1301, 0, 6000, {6}, true},             // held still, pressure changes: still a drag
      {kTip, 1301, 0, 6000, {}, true},              // nothing changes: nothing posted
      {kHover, 1301, 0, 0, {2}, false},             // tip up
      {kHover, 1401, 100, 0, {5, 5, 5, 5}, false},  // hover moves
      {kTip, 1601, 0, 4096, {1}, false},
      {kTip, 1701, 100, 4096, {5, 5, 5, 6}, true},
      {0x00, 1900, 0, 0, {5, 5, 24}, false},        // leaving range ends the drag without mouse-up
  };
  std::vector<std::vector<fakes::PostedEvent>> posted;
  for (const Step& step : steps) {
    stroke(step.status, step.x, step.dx, step.pressure);
    posted.push_back(h.fakes.events.events());
    ASSERT_EQ(drainTypes(), step.posted) << "step " << posted.size() - 1;
    EXPECT_EQ(h.driver->isDragging(), step.dragging) << "step " << posted.size() - 1;
  }

  // The fields the replay recordings do not print.
  EXPECT_EQ(posted[0][1].data.mouseMove.subType, NX_SUBTYPE_TABLET_PROXIMITY);
  const NXTabletProximityData& enter = posted[0][2].data.tablet.proximity;
  EXPECT_EQ(enter.vendorID, 0x6161);
  EXPECT_EQ(enter.tabletID, 0x4D15);
  EXPECT_EQ(enter.pointerType, 1);  // a pen
  EXPECT_EQ(posted[0][2].options, 0u);

  const NXMouseData& down = posted[2][0].data.mouse;
  EXPECT_EQ(down.subType, NX_SUBTYPE_TABLET_POINT);
  EXPECT_EQ(down.tablet.point.deviceID, 0x81);
  const fakes::PostedEvent& drag = posted[3][3];
  EXPECT_EQ(drag.data.mouseMove.subType, NX_SUBTYPE_TABLET_POINT);
  EXPECT_EQ(drag.options, kIOHIDSetCursorPosition);
}

TEST_F(PenStateMachine, ExpressKeysRunOnEveryReportAndAgainOnRelease) {
  // (Keys 11-16, which have no latch in the pen state: the replay case
  // express-key-12-after-side-button.)
  h.feed(expressKeyReport(3));
  h.feed(expressKeyReport(3));
  h.feed(expressKeyReport(0));
  h.feed(expressKeyReport(0));
  EXPECT_EQ(runQueued(), (std::vector<ShortcutCall>{{"cmd2", true, 2}, {"cmd2", true, 2},
                                                    {"cmd2", false, 2}}));

  // With shortcuts off keys still latch, but nothing is queued.
  h.driver->setEnableShourtcut(false);
  h.feed(expressKeyReport(2));
  EXPECT_TRUE(h.driver->oldStylus().button[1]);
  h.feed(expressKeyReport(0));
  EXPECT_FALSE(h.driver->oldStylus().button[1]);
  EXPECT_EQ(runQueued().size(), 3u);
}

// Bytes 4-5 of an express-key report hold the key number: as a position it
// would pull the pointer towards the corner. The report takes effect at once
// but is no sample and leaves the pen in or out of range as it was (with the
// pen away: the replay case express-key-pen-away). That every release is an
// up call of the keys held before it is pinned by the replay cases
// side-buttons-rolled and express-key-12-after-side-button.
TEST_F(PenStateMachine, ExpressKeyReportsAreNoPenSamples) {
  stroke(kHover, 1001, 0, 0);
  drainTypes();
  // Mid-group key presses neither close the group nor add a sample to it.
  h.feed(tabletReport(kHover, 2001, 1001));
  h.feed(expressKeyReport(3));
  h.feed(tabletReport(kHover, 2001, 1001));
  h.feed(expressKeyReport(0));
  h.feed(expressKeyReport(8));  // the tip's bit: held back like the tip, and never a position
  h.feed(tabletReport(kHover, 2001, 1001));
  EXPECT_EQ(h.fakes.events.events().size(), 0u);
  h.feed(tabletReport(kHover, 2001, 1001));
  const auto events = h.fakes.events.events();
  ASSERT_EQ(events.size(), 1u);  // one move, straight to where the pen is
  EXPECT_EQ(events[0].location, (IOGPoint{2001, 1001}));
  EXPECT_FALSE(h.driver->oldStylus().off_tablet);
  const ShortcutCall down{"cmd2", true, 2}, up{"cmd2", false, 2};
  EXPECT_EQ(runQueued(), (std::vector<ShortcutCall>{down, up}));
}

}  // namespace
}  // namespace taviro::testing
