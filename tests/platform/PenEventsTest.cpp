#include "platform/linux/PenEvents.h"

#include <linux/input-event-codes.h>
#include <gtest/gtest.h>

#include <vector>

namespace taviro::linux_input {
namespace {

using Events = std::vector<EvdevEvent>;

constexpr EvdevEvent syn{EV_SYN, SYN_REPORT, 0};
constexpr DesktopRange kDesktop{0, 0, 1920, 1080};

Events toVector(const EvdevFrame& f) { return Events(f.begin(), f.end()); }

NXEventData proximity(bool enter, bool secondPost) {
  NXEventData d;
  if (secondPost) {
    d.tablet.proximity.enterProximity = enter;
  } else {
    d.mouseMove.subType = NX_SUBTYPE_TABLET_PROXIMITY;
    d.mouseMove.tablet.proximity.enterProximity = enter;
  }
  return d;
}

NXEventData point(std::uint16_t pressure) {
  NXEventData d;
  d.mouseMove.subType = NX_SUBTYPE_TABLET_POINT;
  d.mouseMove.tablet.point.pressure = pressure;
  return d;
}

NXEventData button(std::uint8_t pressure8) {
  NXEventData d;
  d.mouse.subType = NX_SUBTYPE_TABLET_POINT;
  d.mouse.pressure = pressure8;
  return d;
}

class PenTranslation : public ::testing::Test {
 protected:
  Events post(std::uint32_t type, std::int16_t x, std::int16_t y, const NXEventData& d,
              DesktopRange desktop = kDesktop) {
    return toVector(translatePost(state, type, IOGPoint{x, y}, d, desktop));
  }
  // Pen in range at (100, 200); the second posting of the change adds nothing.
  void enter() {
    post(NX_MOUSEMOVED, 100, 200, proximity(true, false));
    EXPECT_EQ(post(NX_TABLETPROXIMITY, 100, 200, proximity(true, true)), Events{});
  }
  // A pen past its first entry (FirstEntryOfANewPen... checks that one).
  PenState state{.announced = true};
};

// libinput forces a pen that has never left proximity by itself out after
// every 50 ms pause: a new pen enters and leaves once at the spot of its first
// entry, in frames of their own, before it really enters.
TEST_F(PenTranslation, FirstEntryOfANewPenIsPrecededByAnInOutPair) {
  const Events pair{{EV_KEY, BTN_TOOL_PEN, 1}, {EV_ABS, ABS_X, 100}, {EV_ABS, ABS_Y, 200}, syn,
                    {EV_KEY, BTN_TOOL_PEN, 0}, syn};
  for (const auto& [type, data] : {std::pair{NX_MOUSEMOVED, proximity(true, false)},
                                   std::pair{NX_LMOUSEDOWN, button(0x80)}}) {
    state = PenState{};
    EXPECT_EQ(post(NX_MOUSEMOVED, 100, 200, point(0)), Events{});  // out of proximity: nothing yet
    Events first = post(type, 100, 200, data);
    ASSERT_GE(first.size(), pair.size());
    EXPECT_EQ(Events(first.begin(), first.begin() + 6), pair);
    EXPECT_EQ(first[6], (EvdevEvent{EV_KEY, BTN_TOOL_PEN, 1}));
    post(NX_MOUSEMOVED, 100, 200, proximity(false, false));
    EXPECT_EQ(post(type, 100, 200, data).front(), (EvdevEvent{EV_KEY, BTN_TOOL_PEN, 1}));
  }
}

TEST_F(PenTranslation, PressureTravelsOnlyWhileTheTipIsDown) {
  enter();
  EXPECT_EQ(post(NX_MOUSEMOVED, 110, 205, point(30000)),
            (Events{{EV_ABS, ABS_X, 110}, {EV_ABS, ABS_Y, 205}, syn}));
  post(NX_LMOUSEDOWN, 110, 205, button(0x80));
  // Pressure changing with the tip held still.
  EXPECT_EQ(post(NX_LMOUSEDRAGGED, 110, 205, point(50000)),
            (Events{{EV_ABS, ABS_PRESSURE, 50000}, syn}));
  // Smoothing moves during the drag carry the pressure too.
  EXPECT_EQ(post(NX_MOUSEMOVED, 111, 205, point(51000)),
            (Events{{EV_ABS, ABS_X, 111}, {EV_ABS, ABS_PRESSURE, 51000}, syn}));
}

TEST_F(PenTranslation, ALightTipStillReachesLibinputsTipThreshold) {
  enter();
  EXPECT_EQ(post(NX_LMOUSEDOWN, 100, 200, button(0)),
            (Events{{EV_ABS, ABS_PRESSURE, kTipPressureFloor}, {EV_KEY, BTN_TOUCH, 1}, syn}));
  EXPECT_GT(kTipPressureFloor, kMaxPressure * 5 / 100);
  EXPECT_EQ(post(NX_LMOUSEDRAGGED, 100, 200, point(10)), Events{});
}

TEST_F(PenTranslation, MovesOutOfProximityAreDropped) {
  EXPECT_EQ(post(NX_MOUSEMOVED, 150, 250, point(0)), Events{});
  EXPECT_EQ(post(NX_LMOUSEUP, 150, 250, button(0)), Events{});
}

// Leaving range or a removed tablet ends the stroke, once.
TEST_F(PenTranslation, LeavingProximityOrRemovalReleasesTheTipOnce) {
  const Events release{{EV_KEY, BTN_TOUCH, 0}, {EV_ABS, ABS_PRESSURE, 0}, {EV_KEY, BTN_TOOL_PEN, 0}, syn};
  enter();
  post(NX_LMOUSEDOWN, 100, 200, button(0xFF));
  EXPECT_EQ(post(NX_MOUSEMOVED, 100, 200, proximity(false, false)), release);
  EXPECT_EQ(post(NX_TABLETPROXIMITY, 100, 200, proximity(false, true)), Events{});
  EXPECT_FALSE(state.inProximity);
  EXPECT_FALSE(state.tipDown);
  enter();
  post(NX_LMOUSEDOWN, 100, 200, button(0xFF));
  EXPECT_EQ(toVector(leaveProximity(state)), release);
  EXPECT_EQ(toVector(leaveProximity(state)), Events{});
}

// Pressure in the frame that enters proximity would be taken by libinput for
// a worn tip's offset: the pen enters in a frame of its own first.
TEST_F(PenTranslation, ATipEventOutOfRangeEntersProximityWithoutPressureFirst) {
  EXPECT_EQ(post(NX_LMOUSEDRAGGED, 5, 6, point(40000)),
            (Events{{EV_KEY, BTN_TOOL_PEN, 1}, {EV_ABS, ABS_X, 5}, {EV_ABS, ABS_Y, 6}, syn,
                    {EV_ABS, ABS_PRESSURE, 40000}, {EV_KEY, BTN_TOUCH, 1}, syn}));
  post(NX_MOUSEMOVED, 5, 6, proximity(false, false));
  EXPECT_EQ(post(NX_LMOUSEDOWN, 7, 8, button(0xFF)),
            (Events{{EV_KEY, BTN_TOOL_PEN, 1}, {EV_ABS, ABS_X, 7}, {EV_ABS, ABS_Y, 8}, syn,
                    {EV_ABS, ABS_PRESSURE, 0xFF * 257}, {EV_KEY, BTN_TOUCH, 1}, syn}));
}

TEST_F(PenTranslation, PositionsAreRelativeToTheDesktopAndClampedToIt) {
  const DesktopRange twoScreens{-1280, 0, 3200, 1080};
  EXPECT_EQ(post(NX_MOUSEMOVED, -1280, 0, proximity(true, false), twoScreens),
            (Events{{EV_KEY, BTN_TOOL_PEN, 1}, {EV_ABS, ABS_X, 0}, {EV_ABS, ABS_Y, 0}, syn}));
  EXPECT_EQ(post(NX_MOUSEMOVED, 1919, 1079, point(0), twoScreens),
            (Events{{EV_ABS, ABS_X, 3199}, {EV_ABS, ABS_Y, 1079}, syn}));
  EXPECT_EQ(post(NX_MOUSEMOVED, 2000, -5, point(0), twoScreens),
            (Events{{EV_ABS, ABS_Y, 0}, syn}));
}

}  // namespace
}  // namespace taviro::linux_input
