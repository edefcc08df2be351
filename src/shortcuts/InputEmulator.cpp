#include "shortcuts/InputEmulator.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string>

#include "shortcuts/CommandText.h"
#include "shortcuts/KeyMapInfo.h"

namespace taviro {
namespace {

struct MouseToken {
  std::string_view text;
  MouseInfo action;
};

// Tested in this order, after "Monitor" and "RunFile:": a token is matched by
// containing the text, so the order decides between overlapping tokens.
constexpr auto kMouseTokens = std::to_array<MouseToken>({
    {"MouseLeft", {kMouseButtonLeft, kEventLeftMouseDown, 0, 1}},
    {"MouseDoubleClick", {kMouseButtonLeft, kEventLeftMouseDown, 0, 2}},
    {"MouseRight", {kMouseButtonRight, kEventRightMouseDown, 0, 1}},
    {"MouseMiddle", {kMouseButtonMiddle, kEventOtherMouseDown, 0, 1}},
    {"ScrollForward", {0, 0, -5, 0}},
    {"ScrollBack", {0, 0, 5, 0}},
});

struct ModifierKey {
  int code;
  std::uint64_t flag;
};

// Key codes that add a modifier flag to a chord instead of being its key.
constexpr auto kModifierKeys = std::to_array<ModifierKey>({
    {55, kEventFlagCommand}, {54, kEventFlagCommand},
    {56, kEventFlagShift},   {60, kEventFlagShift},
    {58, kEventFlagOption},  {61, kEventFlagOption},
    {59, kEventFlagControl}, {62, kEventFlagControl},
    {63, kEventFlagSecondaryFn},
});

// The legacy modifiers-only event names one modifier key: the OR of the codes
// of the modifiers present (Command with any other gives 63).
constexpr auto kModifierOnlyCodes = std::to_array<ModifierKey>({
    {55, kEventFlagCommand},
    {56, kEventFlagShift},
    {58, kEventFlagOption},
    {59, kEventFlagControl},
});

constexpr std::int64_t kKeyB = 11;
constexpr std::int64_t kKeyE = 14;

bool contains(std::string_view token, std::string_view text) {
  return token.find(text) != std::string_view::npos;
}

// The path of a run-file token: from its first ":" up to the next one or the end.
std::string_view runFilePath(std::string_view token) {
  const std::size_t start = token.find(':') + 1;
  const std::size_t end = token.find(':', start);
  return token.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
}

enum class Pending { None, Key, Mouse };

// Adds a key name to a chord: a modifier adds its flag, any other key becomes
// the chord's key. Either way the key begun so far is dropped, so modifiers
// must come first. False for a name the table does not know.
bool addKeyName(const KeyMapInfo& keys, std::string_view token, KeyInfo& chord) {
  const std::optional<int> code = keys.codeForName(token);
  if (!code) return false;
  chord.virtualKey = kModifiersOnlyKey;
  const auto* modifier = std::find_if(kModifierKeys.begin(), kModifierKeys.end(),
                                      [&](const ModifierKey& m) { return m.code == *code; });
  if (modifier != kModifierKeys.end())
    chord.flags |= static_cast<std::int64_t>(modifier->flag);
  else
    chord.virtualKey = *code;
  return true;
}

}  // namespace

InputEmulator::InputEmulator(SyntheticInput& input, ProcessLauncher& launcher,
                             NotificationCenter& center)
    : input_(input), launcher_(launcher), center_(center), keys_(KeyMapInfo::shared()) {}

void InputEmulator::sendKeyboard(const std::string& command, bool down, int key) {
  if (down) {
    ++downCount_;
    const Value::Dict userInfo{{"kid", Value(key)}};
    center_.post(kDownKeyNotification, nullptr, &userInfo);
  }
  for (const ParsedCommand& part : parseCmd(command, down)) {
    if (const auto* chord = std::get_if<KeyInfo>(&part))
      PostKeyboardEvent(static_cast<std::uint16_t>(chord->virtualKey & 0xFFFF),
                        static_cast<std::uint64_t>(chord->flags), down);
    else
      runMouse(std::get<MouseInfo>(part), down);
  }
}

void InputEmulator::runMouse(const MouseInfo& mouse, bool down) {
  if (mouse.scroll != 0) {
    // Scrolls on both calls: one press scrolls twice.
    input_.postScrollEvent(static_cast<std::int32_t>(mouse.scroll));
  } else if (mouse.count == 2) {
    // The whole double click happens on the down call.
    if (!down) return;
    for (std::int64_t n = 1; n <= 2; ++n) {
      PostMouseEvent(mouse.button, mouse.event, n);
      PostMouseEvent(mouse.button, mouse.event + 1, n);
    }
  } else {
    PostMouseEvent(mouse.button, down ? mouse.event : mouse.event + 1, mouse.count);
  }
}

std::vector<ParsedCommand> InputEmulator::parseCmd(std::string_view command, bool status) {
  std::vector<ParsedCommand> out;
  for (std::string_view piece : splitCommandText(command, ';')) {
    KeyInfo key;
    MouseInfo mouse;
    Pending pending = Pending::None;
    for (std::string_view token : splitCommandText(piece, '+')) {
      if (token.empty()) continue;
      if (contains(token, "Monitor")) {
        if (status) center_.post(kMonitorNotification);
        break;
      }
      if (contains(token, "RunFile:")) {
        if (status) launcher_.openPath(std::string(runFilePath(token)));
        break;
      }
      const auto* hit = std::find_if(kMouseTokens.begin(), kMouseTokens.end(),
                                     [&](const MouseToken& m) { return contains(token, m.text); });
      if (hit != kMouseTokens.end()) {
        mouse = hit->action;
        pending = Pending::Mouse;
        break;
      }
      if (contains(token, "E,B")) {
        // The down call counted this press already, so both calls of a press
        // type the same letter.
        key.virtualKey = (downCount_ % 2 == 1) ? kKeyB : kKeyE;
        pending = Pending::Key;
        break;
      }
      if (addKeyName(keys_, token, key)) pending = Pending::Key;
    }
    if (pending == Pending::Key) out.emplace_back(key);
    if (pending == Pending::Mouse) out.emplace_back(mouse);
  }
  return out;
}

void InputEmulator::PostKeyboardEvent(std::uint16_t key, std::uint64_t flags, bool down) {
  if (key != kModifiersOnlyKey) {
    input_.postKeyboardEvent(key, flags, down);
    return;
  }
  std::uint16_t code = 0;
  for (const ModifierKey& m : kModifierOnlyCodes)
    if (flags & m.flag) code = static_cast<std::uint16_t>(code | m.code);
  // Without one of the four modifiers (a chord of "Function" alone) there is
  // no modifier key to post; code 0 would type the letter A.
  if (code == 0) return;
  input_.postModifierKeyEvent(code, down);
}

void InputEmulator::PostMouseEvent(std::uint32_t button, std::uint32_t eventType,
                                   std::int64_t count) {
  input_.postMouseEvent(button, eventType, count);
}

}  // namespace taviro
