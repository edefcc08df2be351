#pragma once
// Carries out the shortcut of an express key or stylus button: splits its
// command string into commands (";") and tokens ("+"), and turns each command
// into a key chord, a mouse click or scroll, a display switch, an eraser/brush
// toggle or the opening of a file. Runs on the main thread only.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "driver/ShortcutHandOff.h"
#include "foundation/NotificationCenter.h"
#include "shortcuts/ParsedCommand.h"
#include "shortcuts/ProcessLauncher.h"
#include "shortcuts/SyntheticInput.h"

namespace taviro {

class KeyMapInfo;

// Posted at the start of every key-down call, userInfo {"kid": key id}.
inline constexpr std::string_view kDownKeyNotification = "DownKey";
// Posted when a display switch runs.
inline constexpr std::string_view kMonitorNotification = "Monitor";

class InputEmulator : public ShortcutRunner {
 public:
  InputEmulator(SyntheticInput& input, ProcessLauncher& launcher,
                NotificationCenter& center = NotificationCenter::defaultCenter());

  // Runs `command` for key `key`, once when it goes down and once when it
  // goes up.
  void sendKeyboard(const std::string& command, bool down, int key) override;

  // The chords and mouse actions of `command`, one per command at most, in
  // order. With `status` (the down call) it also switches the display and
  // opens files.
  std::vector<ParsedCommand> parseCmd(std::string_view command, bool status);

  void PostKeyboardEvent(std::uint16_t key, std::uint64_t flags, bool down);
  void PostMouseEvent(std::uint32_t button, std::uint32_t eventType, std::int64_t count);

  // Key-down calls so far; its parity picks the letter of the eraser/brush
  // toggle. Unsigned so that it wraps instead of overflowing.
  std::uint32_t downCount() const { return downCount_; }

 private:
  void runMouse(const MouseInfo& mouse, bool down);

  SyntheticInput& input_;
  ProcessLauncher& launcher_;
  NotificationCenter& center_;
  const KeyMapInfo& keys_;
  std::uint32_t downCount_ = 0;
};

}  // namespace taviro
