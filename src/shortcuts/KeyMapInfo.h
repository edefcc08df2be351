#pragma once
// The vocabulary of key names that command strings and stored shortcut records
// are written in, and the virtual key code of each name (the codes of an ANSI
// keyboard as the window system reports and posts them). The two directions
// differ for modifier keys: both Command keys are named "Command", but only the
// left one is found by name; the Control keys are named "Control" while the
// name that finds code 59 is "Ctrl".
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace taviro {

class KeyMapInfo {
 public:
  using KeyStringTable = std::map<int, std::string>;
  using KeyCodeTable = std::map<std::string, int, std::less<>>;

  // The process-wide tables, built on first use and never changed.
  static const KeyMapInfo& shared();

  KeyMapInfo();

  // virtual key code -> key name
  const KeyStringTable& keyString() const { return keyString_; }
  // key name -> virtual key code
  const KeyCodeTable& keyCode() const { return keyCode_; }

  // Single lookups; nothing when the table has no entry.
  const std::string* nameForCode(int code) const;
  std::optional<int> codeForName(std::string_view name) const;

  // The label the user sees for a command string: mouse actions, functions and
  // the run-file prefix in Korean, "정의되지 않음" for an empty command, and a
  // single ";" shown as a space. Key names and modifiers stay as they are.
  static std::string shortkeyToChina(std::string_view command);

 private:
  void initKey();
  void initCode();

  KeyStringTable keyString_;
  KeyCodeTable keyCode_;
};

}  // namespace taviro
