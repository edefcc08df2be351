#pragma once
// What the shortcut store needs of the shortcut editor: the key being edited,
// the editor's chosen commands and its controls. The editor window implements
// it; the store fills it from a stored record and writes it back.
#include <optional>
#include <string>

namespace taviro {

class ShortcutEditor {
 public:
  // The four check boxes that switch the parts of a shortcut on and off.
  enum class EnableBox { enableKeyboard, enableMouseEvent, enableFuncEvent, enableRunEvent };
  // The editor's two text fields.
  enum class TextField { filePathTextField, shortcutTextField };

  virtual ~ShortcutEditor() = default;

  virtual long keyId() const = 0;

  // The chosen mouse and function commands ("MouseLeft;", "Monitor;"...);
  // nothing until the user picks one.
  virtual std::optional<std::string> mouseEvent() const = 0;
  virtual std::optional<std::string> functionEvent() const = 0;
  // The recorded keys ("A B ") and the modifier prefix ("Ctrl+Shift+").
  virtual std::string keyboardEvent() const = 0;
  virtual std::string shortcutEvent() const = 0;

  // Setters that also update the matching controls. Nothing turns every radio
  // button of the group off.
  virtual void setMouseEvent(const std::optional<std::string>& command) = 0;
  virtual void setFunctionEvent(const std::optional<std::string>& command) = 0;
  virtual void setKeyboardEvent(const std::string& keys) = 0;
  virtual void setShortcutEvent(const std::string& modifiers) = 0;
  // Sets the modifier check boxes from the prefixes the text holds and shows it.
  virtual void setShortcutText(const std::string& text) = 0;

  // Check-box states: 0 off, 1 on.
  virtual int checkState(EnableBox box) const = 0;
  virtual void setCheckState(EnableBox box, int state) = 0;

  virtual std::string stringValue(TextField field) const = 0;
  virtual void setStringValue(TextField field, const std::string& text) = 0;
};

}  // namespace taviro
