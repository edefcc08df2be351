#pragma once
// The stored shortcut of one key: a JSON object with four independent parts
// (keyboard chord, mouse action, function, file to open), each with its own
// enable flag. This file names its members and turns a record into the
// command string the executor runs.
#include <optional>
#include <string>
#include <string_view>

#include "foundation/Value.h"

namespace taviro::ShortcutRecordKeys {
inline constexpr std::string_view enableKeyboard = "enableKeyboard";
inline constexpr std::string_view keyboardEvent = "keyboardEvent";
inline constexpr std::string_view shortcutEvent = "shortcutEvent";
inline constexpr std::string_view shortcut = "shortcut";
inline constexpr std::string_view enableMouse = "enableMouse";
inline constexpr std::string_view mouse = "mouse";
inline constexpr std::string_view enableFunc = "enableFunc";
inline constexpr std::string_view function = "function";
inline constexpr std::string_view enableRun = "enableRun";
inline constexpr std::string_view filePath = "filePath";
}  // namespace taviro::ShortcutRecordKeys

namespace taviro {

// The member name of key id `keyId` in the store's document: its decimal text.
std::string shortcutRecordName(long keyId);

// An enable member is on when it is a non-zero number or true.
bool shortcutPartEnabled(const Value& record, std::string_view member);

// A string member; nothing (or "" for shortcutString) when missing or not a
// string.
std::optional<std::string> shortcutOptionalString(const Value& record, std::string_view member);
std::string shortcutString(const Value& record, std::string_view member);

// The command string of a record, e.g. "Ctrl+A;Ctrl+B;MouseLeft;RunFile:/x":
// every key of the list becomes a chord with the same modifiers (a list
// without a space gives the modifiers alone), then the mouse command, the
// function, and the file to open, always last and without a ";".
std::string commandForShortcutRecord(const Value& record);

}  // namespace taviro
