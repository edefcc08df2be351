#include <gtest/gtest.h>

#include "json/JSONKit.h"
#include "shortcuts/ShortcutRecord.h"

namespace taviro {
namespace {

struct RecordCase {
  const char* record;  // JSON object
  const char* command;
};

TEST(ShortcutRecord, BuildsTheCommandStringOfARecord) {
  const RecordCase cases[] = {
      {R"({"enableKeyboard":1,"keyboardEvent":"A B ","shortcutEvent":"Ctrl+","enableMouse":1,
           "mouse":"MouseLeft;","enableFunc":0,"function":"Monitor;","enableRun":1,
           "filePath":"/Applications/Editor.app","shortcut":"Ctrl+A B "})",
       "Ctrl+A;Ctrl+B;MouseLeft;RunFile:/Applications/Editor.app"},
      // Keyboard part: every key a chord of its own; no key, modifiers alone.
      {R"({"enableKeyboard":1,"keyboardEvent":"","shortcutEvent":"Ctrl+Shift+"})", "Ctrl+Shift+"},
      {R"({"enableKeyboard":1,"keyboardEvent":"A ","shortcutEvent":""})", "A;"},
      {R"({"enableKeyboard":1,"keyboardEvent":"A","shortcutEvent":"Option+"})", "Option+"},
      {R"({"enableKeyboard":1,"keyboardEvent":"A  B ","shortcutEvent":"Shift+"})",
       "Shift+A;Shift+B;"},
      {R"({"enableKeyboard":1,"keyboardEvent":" ","shortcutEvent":"Shift+"})", ""},
      {R"({"enableKeyboard":0,"keyboardEvent":"A ","shortcutEvent":"Ctrl+"})", ""},
      // The parts come in a fixed order whatever the member order.
      {R"({"enableRun":1,"filePath":"/x","enableFunc":1,"function":"E,B;","enableMouse":1,
           "mouse":"ScrollBack;"})",
       "ScrollBack;E,B;RunFile:/x"},
      {R"({"enableRun":1,"filePath":""})", "RunFile:"},
      // Enable members: any non-zero number or true is on.
      {R"({"enableFunc":true,"function":"Monitor;"})", "Monitor;"},
      {R"({"enableFunc":0.5,"function":"Monitor;"})", "Monitor;"},
      {R"({"enableFunc":-1,"function":"Monitor;"})", "Monitor;"},
      {R"({"enableFunc":false,"function":"Monitor;"})", ""},
      {R"({"enableFunc":null,"function":"Monitor;"})", ""},
      {R"({"enableFunc":"1","function":"Monitor;"})", ""},
      {R"({"function":"Monitor;"})", ""},
      // An enabled part without its text adds nothing instead of failing.
      {R"({"enableMouse":1,"enableKeyboard":1,"enableRun":1})", "RunFile:"},
      {R"({"enableMouse":1,"mouse":7})", ""},
      {R"({"enableKeyboard":0,"enableMouse":0,"enableFunc":0,"enableRun":0,
           "keyboardEvent":"A ","shortcutEvent":"Ctrl+","mouse":"MouseLeft;",
           "function":"Monitor;","filePath":"/x"})",
       ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.record);
    const auto record = objectFromJSONString(c.record);
    ASSERT_TRUE(record);
    EXPECT_EQ(commandForShortcutRecord(*record), c.command);
  }
}

}  // namespace
}  // namespace taviro
