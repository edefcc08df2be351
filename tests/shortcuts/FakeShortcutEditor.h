#pragma once
// A shortcut editor without widgets: its state is plain members, and every
// call the store makes is recorded by name, in order.
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "shortcuts/ShortcutEditor.h"

namespace taviro::test {

class FakeShortcutEditor : public ShortcutEditor {
 public:
  long id = 0;
  std::optional<std::string> mouse, function;
  std::string keys, modifiers, shortcutText, filePath;
  std::map<EnableBox, int> states;
  std::vector<std::string> calls;

  long keyId() const override { return id; }
  std::optional<std::string> mouseEvent() const override { return mouse; }
  std::optional<std::string> functionEvent() const override { return function; }
  std::string keyboardEvent() const override { return keys; }
  std::string shortcutEvent() const override { return modifiers; }

  void setMouseEvent(const std::optional<std::string>& c) override {
    calls.push_back("setMouseEvent");
    mouse = c;
  }
  void setFunctionEvent(const std::optional<std::string>& c) override {
    calls.push_back("setFunctionEvent");
    function = c;
  }
  void setKeyboardEvent(const std::string& k) override {
    calls.push_back("setKeyboardEvent");
    keys = k;
  }
  void setShortcutEvent(const std::string& m) override {
    calls.push_back("setShortcutEvent");
    modifiers = m;
  }
  void setShortcutText(const std::string& t) override {
    calls.push_back("setShortcutText");
    shortcutText = t;
  }
  int checkState(EnableBox box) const override {
    auto it = states.find(box);
    return it == states.end() ? 0 : it->second;
  }
  void setCheckState(EnableBox box, int state) override {
    calls.push_back(std::string("setCheckState ") + boxName(box));
    states[box] = state;
  }
  std::string stringValue(TextField field) const override {
    return field == TextField::filePathTextField ? filePath : shortcutText;
  }
  void setStringValue(TextField field, const std::string& text) override {
    calls.push_back(field == TextField::filePathTextField ? "setStringValue filePathTextField"
                                                          : "setStringValue shortcutTextField");
    (field == TextField::filePathTextField ? filePath : shortcutText) = text;
  }

  static const char* boxName(EnableBox box) {
    switch (box) {
      case EnableBox::enableKeyboard: return "enableKeyboard";
      case EnableBox::enableMouseEvent: return "enableMouseEvent";
      case EnableBox::enableFuncEvent: return "enableFuncEvent";
      case EnableBox::enableRunEvent: return "enableRunEvent";
    }
    return "?";
  }
};

}  // namespace taviro::test
