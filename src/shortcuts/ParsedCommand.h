#pragma once
// What one command of a command string turns into: a key chord or a mouse
// action. The display switch and the opening of a file happen while parsing and
// leave no object behind.
#include <cstdint>
#include <variant>

namespace taviro {

// Virtual key of a chord made of modifiers only.
inline constexpr std::int64_t kModifiersOnlyKey = 65535;

struct KeyInfo {
  std::int64_t virtualKey = 0;  // key code, or kModifiersOnlyKey
  std::int64_t flags = 0;       // modifier-flag bits of the chord
  friend bool operator==(const KeyInfo&, const KeyInfo&) = default;
};

struct MouseInfo {
  std::uint32_t button = 0;  // 0 left, 1 right, 2 middle
  std::uint32_t event = 0;   // event type of the button-down; the up type is event + 1
  std::int64_t scroll = 0;   // 0, or the scroll amount in pixels
  std::int64_t count = 0;    // click count, 1 or 2
  friend bool operator==(const MouseInfo&, const MouseInfo&) = default;
};

using ParsedCommand = std::variant<KeyInfo, MouseInfo>;

}  // namespace taviro
