#include "platform/linux/KeyboardEvents.h"

#include <linux/input-event-codes.h>
#include <gtest/gtest.h>

#include "shortcuts/SyntheticInput.h"

namespace taviro::linux_input {
namespace {

constexpr EvdevEvent syn{EV_SYN, SYN_REPORT, 0};
EvdevEvent key(int code, int value) { return {EV_KEY, static_cast<std::uint16_t>(code), value}; }

TEST(Chord, PressesModifiersThenTheKeyAndReleasesInReverse) {
  const std::uint64_t ctrlShift = kEventFlagControl | kEventFlagShift;
  EXPECT_EQ(chordEvents(0, ctrlShift, true),
            (EvdevEvents{key(KEY_LEFTCTRL, 1), syn, key(KEY_LEFTSHIFT, 1), syn, key(KEY_A, 1), syn}));
  EXPECT_EQ(chordEvents(0, ctrlShift, false),
            (EvdevEvents{key(KEY_A, 0), syn, key(KEY_LEFTSHIFT, 0), syn, key(KEY_LEFTCTRL, 0), syn}));
}

TEST(Chord, MapsEveryModifierFlag) {
  EXPECT_EQ(modifierKeysOf(kEventFlagCommand | kEventFlagOption | kEventFlagShift | kEventFlagControl),
            (std::vector<int>{KEY_LEFTCTRL, KEY_LEFTALT, KEY_LEFTSHIFT, KEY_LEFTMETA}));
  EXPECT_TRUE(modifierKeysOf(0).empty());
}

TEST(Chord, AKeyWithoutModifiersIsOneKeyAndAnUnknownKeyNothing) {
  EXPECT_EQ(chordEvents(122, 0, true), (EvdevEvents{key(KEY_F1, 1), syn}));
  EXPECT_TRUE(chordEvents(52, kEventFlagControl, true).empty());  // no such virtual key
}

TEST(ModifierOnlyEvent, PressesOrReleasesTheModifierKey) {
  EXPECT_EQ(modifierKeyEvents(59, true), (EvdevEvents{key(KEY_LEFTCTRL, 1), syn}));
  EXPECT_EQ(modifierKeyEvents(55, false), (EvdevEvents{key(KEY_LEFTMETA, 0), syn}));
  EXPECT_EQ(modifierKeyEvents(56, true), (EvdevEvents{key(KEY_LEFTSHIFT, 1), syn}));
  EXPECT_EQ(modifierKeyEvents(58, true), (EvdevEvents{key(KEY_LEFTALT, 1), syn}));
  EXPECT_TRUE(modifierKeyEvents(0, true).empty());
}

TEST(MouseButtons, FollowTheEventTypes) {
  struct Case {
    std::uint32_t button, type;
    int code, value;
  };
  for (const Case c : {Case{kMouseButtonLeft, kEventLeftMouseDown, BTN_LEFT, 1},
                       Case{kMouseButtonLeft, kEventLeftMouseUp, BTN_LEFT, 0},
                       Case{kMouseButtonRight, kEventRightMouseDown, BTN_RIGHT, 1},
                       Case{kMouseButtonRight, kEventRightMouseUp, BTN_RIGHT, 0},
                       Case{kMouseButtonMiddle, kEventOtherMouseDown, BTN_MIDDLE, 1},
                       Case{kMouseButtonMiddle, kEventOtherMouseUp, BTN_MIDDLE, 0}}) {
    EXPECT_EQ(mouseButtonEvents(c.button, c.type), (EvdevEvents{key(c.code, c.value), syn}))
        << c.button << "/" << c.type;
  }
  EXPECT_TRUE(mouseButtonEvents(7, kEventLeftMouseDown).empty());
  EXPECT_TRUE(mouseButtonEvents(kMouseButtonLeft, 5).empty());
}

TEST(Wheel, SendsHighResolutionUnitsAndWholeDetentsInTheSameFrame) {
  WheelAccumulator wheel;
  // Half a detent forward (up): high resolution only.
  EXPECT_EQ(wheel.scroll(-5), (EvdevEvents{{EV_REL, REL_WHEEL_HI_RES, 60}, syn}));
  // The second half completes a detent.
  EXPECT_EQ(wheel.scroll(-5),
            (EvdevEvents{{EV_REL, REL_WHEEL_HI_RES, 60}, {EV_REL, REL_WHEEL, 1}, syn}));
  // Backwards (down) is negative on the wheel.
  EXPECT_EQ(wheel.scroll(5), (EvdevEvents{{EV_REL, REL_WHEEL_HI_RES, -60}, syn}));
  EXPECT_EQ(wheel.scroll(25),
            (EvdevEvents{{EV_REL, REL_WHEEL_HI_RES, -300}, {EV_REL, REL_WHEEL, -3}, syn}));
  EXPECT_TRUE(wheel.scroll(0).empty());
}

TEST(Wheel, AChangeOfDirectionCancelsThePartialDetent) {
  WheelAccumulator wheel;
  wheel.scroll(-5);
  EXPECT_EQ(wheel.scroll(5), (EvdevEvents{{EV_REL, REL_WHEEL_HI_RES, -60}, syn}));
  EXPECT_EQ(wheel.scroll(5), (EvdevEvents{{EV_REL, REL_WHEEL_HI_RES, -60}, syn}));
  EXPECT_EQ(wheel.scroll(5),
            (EvdevEvents{{EV_REL, REL_WHEEL_HI_RES, -60}, {EV_REL, REL_WHEEL, -1}, syn}));
}

}  // namespace
}  // namespace taviro::linux_input
