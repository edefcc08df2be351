#include "platform/linux/KeyboardEvents.h"

#include <linux/input-event-codes.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>

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

// udev counts D-pad and joystick buttons as a joystick's and then tags the
// keyboard no mouse: the desktop would ignore its clicks.
TEST(KeyboardKeys, AreTheKeysOfTheTableModifiersAndMouseButtonsOnly) {
  const std::vector<int> keys = keyboardKeys();
  for (int key : keys) {
    EXPECT_FALSE(key >= BTN_JOYSTICK && key < BTN_DIGI) << key;
    EXPECT_FALSE(key >= BTN_DPAD_UP && key <= BTN_DPAD_RIGHT) << key;
    EXPECT_LT(key, BTN_TRIGGER_HAPPY) << key;
  }
  for (int key : {KEY_A, KEY_F12, KEY_LEFTCTRL, KEY_RIGHTMETA, BTN_LEFT, BTN_RIGHT, BTN_MIDDLE})
    EXPECT_TRUE(std::binary_search(keys.begin(), keys.end(), key)) << key;
  EXPECT_TRUE(std::is_sorted(keys.begin(), keys.end()));
  EXPECT_EQ(std::adjacent_find(keys.begin(), keys.end()), keys.end());
}

// A double click posted at once goes out spaced like a real mouse's: every
// change of a button at least kButtonSpacing after its last one, frames in
// the order posted.
TEST(ButtonPacer, SpacesChangesOfAButtonAndKeepsTheOrder) {
  using ms = std::chrono::milliseconds;
  const ButtonPacer::Clock::time_point t0 = ButtonPacer::Clock::now();
  ButtonPacer pacer;
  const EvdevEvents leftDown{key(BTN_LEFT, 1), syn}, leftUp{key(BTN_LEFT, 0), syn};
  const EvdevEvents rightDown{key(BTN_RIGHT, 1), syn}, ctrl{key(KEY_LEFTCTRL, 1), syn};
  const std::pair<EvdevEvents, ms> steps[] = {
      {leftDown, ms(0)}, {leftUp, ms(40)}, {leftDown, ms(80)}, {leftUp, ms(120)},
      {ctrl, ms(120)},      // another key waits for the frame before it only
      {rightDown, ms(120)}, // another button has its own spacing
  };
  for (const auto& [frame, at] : steps) EXPECT_EQ(pacer.schedule(frame, t0) - t0, at);
  // Later posts go out at once once the spacing has passed.
  EXPECT_EQ(pacer.schedule(leftDown, t0 + ms(500)) - t0, ms(500));
}
}  // namespace
}  // namespace taviro::linux_input
