#include "shortcuts/ShortcutRecord.h"

#include "shortcuts/CommandText.h"

namespace taviro {

namespace Keys = ShortcutRecordKeys;

std::string shortcutRecordName(long keyId) { return std::to_string(keyId); }

bool shortcutPartEnabled(const Value& record, std::string_view member) {
  const Value* v = record.find(member);
  return v && v->isNumber() && v->boolValue();
}

std::optional<std::string> shortcutOptionalString(const Value& record, std::string_view member) {
  const Value* v = record.find(member);
  const std::string* s = v ? v->asString() : nullptr;
  return s ? std::optional<std::string>(*s) : std::nullopt;
}

std::string shortcutString(const Value& record, std::string_view member) {
  return shortcutOptionalString(record, member).value_or(std::string());
}

std::string commandForShortcutRecord(const Value& record) {
  std::string command;
  if (shortcutPartEnabled(record, Keys::enableKeyboard)) {
    const std::string modifiers = shortcutString(record, Keys::shortcutEvent);
    const std::string keyList = shortcutString(record, Keys::keyboardEvent);
    const auto keys = splitCommandText(keyList, ' ');
    if (keys.size() == 1) {
      // No space: a chord of modifiers only. A key written without its
      // trailing space is dropped, as the editor always writes one.
      command += modifiers;
    } else {
      for (std::string_view key : keys) {
        if (key.empty()) continue;
        command += modifiers;
        command += key;
        command += ';';
      }
    }
  }
  if (shortcutPartEnabled(record, Keys::enableMouse)) command += shortcutString(record, Keys::mouse);
  if (shortcutPartEnabled(record, Keys::enableFunc))
    command += shortcutString(record, Keys::function);
  if (shortcutPartEnabled(record, Keys::enableRun)) {
    command += "RunFile:";
    command += shortcutString(record, Keys::filePath);
  }
  return command;
}

}  // namespace taviro
