#pragma once
// Turns the command executor's synthetic input (virtual key codes with
// modifier flags, mouse-button event types, pixel scrolls) into the evdev
// events of a virtual keyboard-and-mouse. Pure, so that every mapping is
// tested without a kernel.
#include <cstdint>
#include <vector>

#include "platform/linux/PenEvents.h"

namespace taviro::linux_input {

using EvdevEvents = std::vector<EvdevEvent>;

// The modifier keys a flag set holds, in the order they are pressed
// (Control, Option, Shift, Command); released in reverse.
std::vector<int> modifierKeysOf(std::uint64_t flags);

// A chord's half: going down presses the modifiers, then the key; going up
// releases the key, then the modifiers in reverse. Each key change is its own
// frame (SYN_REPORT), so that clients see the modifiers before the key. Empty
// when the key table has no such key.
EvdevEvents chordEvents(std::uint16_t virtualKey, std::uint64_t flags, bool down);

// The legacy modifiers-only event: presses or releases the key of `keyCode`.
// 0 (no modifier) posts nothing.
EvdevEvents modifierKeyEvents(std::uint16_t keyCode, bool down);

// BTN_LEFT / BTN_RIGHT / BTN_MIDDLE pressed or released, as the event type
// says (button-down types 1, 3, 25; their up types one more). Empty for an
// unknown button or type.
EvdevEvents mouseButtonEvents(std::uint32_t button, std::uint32_t eventType);

// Pixel scrolling on a high-resolution wheel: 120 units per detent and
// kPixelsPerDetent pixels per detent. REL_WHEEL joins the frame once a whole
// detent has built up, so that clients without high-resolution scrolling
// still scroll. Negative pixels scroll forward (up): positive on the wheel.
inline constexpr int kHiResPerDetent = 120;
inline constexpr int kPixelsPerDetent = 10;

class WheelAccumulator {
 public:
  EvdevEvents scroll(std::int32_t pixels);

 private:
  int hiRes_ = 0;  // high-resolution units not yet sent as a whole detent
};

}  // namespace taviro::linux_input
