#pragma once
// Turns the command executor's synthetic input (virtual key codes with
// modifier flags, mouse-button event types, pixel scrolls) into the evdev
// events of a virtual keyboard-and-mouse, and times its mouse buttons the way
// the desktop can read them. Pure, so that every mapping is tested without a
// kernel.
#include <array>
#include <chrono>
#include <cstdint>
#include <vector>

#include "platform/linux/PenEvents.h"

namespace taviro::linux_input {

using EvdevEvents = std::vector<EvdevEvent>;

// Every key and button the virtual keyboard posts, ascending: what it
// declares. Nothing else: a D-pad or joystick button would make udev take the
// device for a joystick and not for a mouse.
std::vector<int> keyboardKeys();

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

// libinput debounces mouse buttons: a press that follows a release of the
// same button within 25 ms counts as a bounce and is swallowed, so a double
// click sent at once arrives as one click. The pacer times frames as a real
// mouse would click: each change of a button (press or release) at least
// kButtonSpacing after that button's previous change, and no frame before
// the one posted ahead of it. A double click then spans about 120 ms, well
// within a desktop's double-click time.
inline constexpr std::chrono::milliseconds kButtonSpacing{40};

class ButtonPacer {
 public:
  using Clock = std::chrono::steady_clock;
  // When `frame`, posted at `now`, may go out.
  Clock::time_point schedule(const EvdevEvents& frame, Clock::time_point now);

 private:
  Clock::time_point last_{};                   // of the frame before
  std::array<Clock::time_point, 3> changed_{};  // last change of left, right, middle
};

}  // namespace taviro::linux_input
