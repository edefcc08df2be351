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
  EXPECT_EQ(modifierKeysOf(kEventFlagCommand | kEventFlagOption | kEventFlagShift | kEventFlagControl),
            (std::vector<int>{KEY_LEFTCTRL, KEY_LEFTALT, KEY_LEFTSHIFT, KEY_LEFTMETA}));
  EXPECT_EQ(chordEvents(122, 0, true), (EvdevEvents{key(KEY_F1, 1), syn}));
  EXPECT_TRUE(chordEvents(52, kEventFlagControl, true).empty());  // no such virtual key
}

// Which key each code is comes from the key map, checked row by row there.
TEST(ModifierOnlyEvent, PressesOrReleasesTheModifierKeyAndCodeZeroIsNone) {
  EXPECT_EQ(modifierKeyEvents(59, true), (EvdevEvents{key(KEY_LEFTCTRL, 1), syn}));
  EXPECT_EQ(modifierKeyEvents(55, false), (EvdevEvents{key(KEY_LEFTMETA, 0), syn}));
  EXPECT_TRUE(modifierKeyEvents(0, true).empty());
}

TEST(MouseButtons, FollowTheEventTypes) {
  struct Case {
    std::uint32_t button, down, up;
    int code;
  };
  for (const Case c : {Case{kMouseButtonLeft, kEventLeftMouseDown, kEventLeftMouseUp, BTN_LEFT},
                       Case{kMouseButtonRight, kEventRightMouseDown, kEventRightMouseUp, BTN_RIGHT},
                       Case{kMouseButtonMiddle, kEventOtherMouseDown, kEventOtherMouseUp, BTN_MIDDLE}}) {
    EXPECT_EQ(mouseButtonEvents(c.button, c.down), (EvdevEvents{key(c.code, 1), syn})) << c.button;
    EXPECT_EQ(mouseButtonEvents(c.button, c.up), (EvdevEvents{key(c.code, 0), syn})) << c.button;
  }
  EXPECT_TRUE(mouseButtonEvents(7, kEventLeftMouseDown).empty());
  EXPECT_TRUE(mouseButtonEvents(kMouseButtonLeft, 5).empty());
}

EvdevEvents wheel(int hiRes, int detents = 0) {
  EvdevEvents out{{EV_REL, REL_WHEEL_HI_RES, hiRes}};
  if (detents) out.push_back({EV_REL, REL_WHEEL, detents});
  out.push_back(syn);
  return out;
}

// Forward (up) is positive on the wheel; a partial detent carries over until
// whole detents are reached, and scrolling back cancels it.
TEST(Wheel, SendsHighResolutionUnitsAndWholeDetentsInTheSameFrame) {
  WheelAccumulator accumulator;
  const std::pair<int, EvdevEvents> steps[] = {
      {-5, wheel(60)}, {-5, wheel(60, 1)}, {5, wheel(-60)}, {25, wheel(-300, -3)}, {-5, wheel(60)},
      {5, wheel(-60)}, {5, wheel(-60)},    {5, wheel(-60, -1)}, {0, {}},
  };
  for (const auto& [pixels, events] : steps) EXPECT_EQ(accumulator.scroll(pixels), events) << pixels;
}

}  // namespace
}  // namespace taviro::linux_input
