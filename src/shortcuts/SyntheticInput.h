#pragma once
// The synthetic keyboard and mouse input that shortcuts produce. The command
// executor speaks the window system's numbers (virtual key codes of the key
// table, modifier-flag bits, mouse event types); a platform realisation turns
// them into its own events. All calls come from the main thread.
#include <cstdint>

namespace taviro {

// Modifier-flag bits of a keyboard event.
inline constexpr std::uint64_t kEventFlagShift = 0x20000;
inline constexpr std::uint64_t kEventFlagControl = 0x40000;
inline constexpr std::uint64_t kEventFlagOption = 0x80000;
inline constexpr std::uint64_t kEventFlagCommand = 0x100000;
inline constexpr std::uint64_t kEventFlagSecondaryFn = 0x800000;

// Mouse event types: each button-down type is followed by its button-up type
// (down + 1).
inline constexpr std::uint32_t kEventLeftMouseDown = 1;
inline constexpr std::uint32_t kEventLeftMouseUp = 2;
inline constexpr std::uint32_t kEventRightMouseDown = 3;
inline constexpr std::uint32_t kEventRightMouseUp = 4;
inline constexpr std::uint32_t kEventOtherMouseDown = 25;
inline constexpr std::uint32_t kEventOtherMouseUp = 26;

// Mouse buttons.
inline constexpr std::uint32_t kMouseButtonLeft = 0;
inline constexpr std::uint32_t kMouseButtonRight = 1;
inline constexpr std::uint32_t kMouseButtonMiddle = 2;

class SyntheticInput {
 public:
  virtual ~SyntheticInput() = default;

  // One key event for `virtualKey` carrying exactly `flags` as its modifier
  // state (a chord is one down and one up event; no separate modifier-key
  // events are asked for).
  virtual void postKeyboardEvent(std::uint16_t virtualKey, std::uint64_t flags, bool down) = 0;

  // The legacy modifiers-only key event: `keyCode` is the virtual key code of
  // a modifier key (55 Command, 56 Shift, 58 Option, 59 Control, 63 for
  // Command with another modifier) or 0, pressed or released, with no flags.
  virtual void postModifierKeyEvent(std::uint16_t keyCode, bool down) = 0;

  // One mouse-button event of `eventType` for `button` at the current pointer
  // position, with `clickCount` in its click-state field (2 for the second
  // click of a double click).
  virtual void postMouseEvent(std::uint32_t button, std::uint32_t eventType,
                              std::int64_t clickCount) = 0;

  // A vertical scroll by `pixels` (negative scrolls forward, i.e. up).
  virtual void postScrollEvent(std::int32_t pixels) = 0;
};

}  // namespace taviro
