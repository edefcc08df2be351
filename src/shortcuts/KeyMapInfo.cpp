#include "shortcuts/KeyMapInfo.h"

#include <array>

namespace taviro {
namespace {

// Which of the two tables an entry belongs to.
enum class In { Both, CodeToName, NameToCode };

struct KeyEntry {
  int code;
  std::string_view name;
  In in = In::Both;
};

// clang-format off
constexpr auto kKeys = std::to_array<KeyEntry>({
  // Letters
  {0, "A"}, {1, "S"}, {2, "D"}, {3, "F"}, {4, "H"}, {5, "G"}, {6, "Z"}, {7, "X"},
  {8, "C"}, {9, "V"}, {11, "B"}, {12, "Q"}, {13, "W"}, {14, "E"}, {15, "R"},
  {16, "Y"}, {17, "T"}, {31, "O"}, {32, "U"}, {34, "I"}, {35, "P"}, {37, "L"},
  {38, "J"}, {40, "K"}, {45, "N"}, {46, "M"},
  // Digits of the main block
  {18, "1"}, {19, "2"}, {20, "3"}, {21, "4"}, {22, "6"}, {23, "5"}, {25, "9"},
  {26, "7"}, {28, "8"}, {29, "0"},
  // Punctuation: the semicolon key is named by a colon, because ";" separates
  // the commands of a command string; the quote key by U+2018.
  {24, "="}, {27, "-"}, {30, "]"}, {33, "["}, {43, ","}, {44, "/"}, {47, "."},
  {41, ":"}, {39, "\u2018"}, {42, "\\"}, {50, "`"},
  // Named keys
  {36, "Return"}, {48, "Tab"}, {49, "Space"}, {51, "Delete"}, {53, "Escape"},
  {57, "CapsLock"}, {63, "Function"}, {72, "VolumeUp"}, {73, "VolumeDown"},
  {74, "Mute"}, {114, "Help"}, {115, "Home"}, {116, "PageUp"},
  {117, "ForwardDelete"}, {119, "End"}, {121, "PageDown"}, {123, "LeftArrow"},
  {124, "RightArrow"}, {125, "DownArrow"}, {126, "UpArrow"},
  // Keypad
  {65, "KeypadDecimal"}, {67, "KeypadMultiply"}, {69, "KeypadPlus"},
  {71, "KeypadClear"}, {75, "KeypadDivide"}, {76, "KeypadEnter"},
  {78, "KeypadMinus"}, {81, "KeypadEquals"}, {82, "Keypad0"}, {83, "Keypad1"},
  {84, "Keypad2"}, {85, "Keypad3"}, {86, "Keypad4"}, {87, "Keypad5"},
  {88, "Keypad6"}, {89, "Keypad7"}, {91, "Keypad8"}, {92, "Keypad9"},
  // Function keys
  {122, "F1"}, {120, "F2"}, {99, "F3"}, {118, "F4"}, {96, "F5"}, {97, "F6"},
  {98, "F7"}, {100, "F8"}, {101, "F9"}, {109, "F10"}, {103, "F11"}, {111, "F12"},
  {105, "F13"}, {107, "F14"}, {113, "F15"}, {106, "F16"}, {64, "F17"},
  {79, "F18"}, {80, "F19"}, {90, "F20"},
  // Modifiers: right-hand keys are named like the left ones but not found by
  // name, and Control is written "Ctrl" in command strings.
  {55, "Command"}, {54, "Command", In::CodeToName},
  {56, "Shift"},   {60, "Shift", In::CodeToName},
  {58, "Option"},  {61, "Option", In::CodeToName},
  {59, "Control", In::CodeToName}, {62, "Control", In::CodeToName},
  {59, "Ctrl", In::NameToCode},
});
// clang-format on

}  // namespace

const KeyMapInfo& KeyMapInfo::shared() {
  static const KeyMapInfo instance;
  return instance;
}

KeyMapInfo::KeyMapInfo() {
  initKey();
  initCode();
}

void KeyMapInfo::initKey() {
  for (const KeyEntry& e : kKeys)
    if (e.in != In::NameToCode) keyString_.emplace(e.code, std::string(e.name));
}

void KeyMapInfo::initCode() {
  for (const KeyEntry& e : kKeys)
    if (e.in != In::CodeToName) keyCode_.emplace(std::string(e.name), e.code);
}

const std::string* KeyMapInfo::nameForCode(int code) const {
  auto it = keyString_.find(code);
  return it == keyString_.end() ? nullptr : &it->second;
}

std::optional<int> KeyMapInfo::codeForName(std::string_view name) const {
  auto it = keyCode_.find(name);
  if (it == keyCode_.end()) return std::nullopt;
  return it->second;
}

}  // namespace taviro
