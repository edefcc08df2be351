// Command strings: the key names they are written in, the labels the user
// sees, how a stored record becomes one, and what the executor does with them.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "foundation/NotificationCenter.h"
#include "json/JSONKit.h"
#include "shortcuts/CommandText.h"
#include "shortcuts/InputEmulator.h"
#include "shortcuts/KeyMapInfo.h"
#include "shortcuts/ShortcutRecord.h"
#include "shortcuts/ShortcutTranscript.h"

namespace taviro {
namespace {

// Each key is named after its constant in the reference table (kVK_ANSI_A:
// "A", kVK_RightShift: "Shift"), the punctuation keys after their character
// (the semicolon key ":", as ";" ends a command, the quote key U+2018). Only
// the left-hand modifiers but Control are found by name, Control as "Ctrl".
TEST(KeyMapInfo, NamesFollowTheReferenceTable) {
  const std::map<std::string, std::string> punctuation{
      {"Equal", "="},     {"Minus", "-"},     {"RightBracket", "]"}, {"LeftBracket", "["},
      {"Quote", "\u2018"}, {"Semicolon", ":"}, {"Backslash", "\\"},   {"Comma", ","},
      {"Slash", "/"},     {"Period", "."},    {"Grave", "`"}};
  std::ifstream csv(TAVIRO_KEYCODE_CSV);
  ASSERT_TRUE(csv) << TAVIRO_KEYCODE_CSV;
  std::string line, code, name;
  std::getline(csv, line);  // header
  KeyMapInfo::KeyStringTable names;
  KeyMapInfo::KeyCodeTable codes{{"Ctrl", 59}};
  while (std::getline(csv, line)) {
    std::istringstream fields(line);
    std::getline(std::getline(fields, code, ','), name, ',');
    name.erase(0, 4);  // "kVK_"
    if (name.starts_with("ISO_") || name.starts_with("JIS_") || name == "ContextualMenu") continue;
    if (name.starts_with("ANSI_")) name.erase(0, 5);
    if (punctuation.contains(name)) name = punctuation.at(name);
    const bool rightHand = name.starts_with("Right") && name != "RightArrow";
    if (rightHand) name.erase(0, 5);
    names.emplace(std::stoi(code), name);
    if (!rightHand && name != "Control") codes.emplace(name, std::stoi(code));
  }
  EXPECT_EQ(KeyMapInfo::shared().keyString(), names);
  EXPECT_EQ(KeyMapInfo::shared().keyCode(), codes);
}

TEST(ShortkeyToChina, LabelsCommandStrings) {
  const std::pair<const char*, const char*> cases[] = {
      {"", "정의되지 않음"},
      {"MouseLeft;", "마우스 좌클릭 "},           {"MouseRight;", "마우스 우클릭 "},
      {"ScrollForward;", "위로 스크롤 "},         {"MouseDoubleClick;", "더블 클릭 "},
      {"MouseMiddle;", "마우스 휠클릭 "},         {"ScrollBack;", "아래로 스크롤 "},
      {"Monitor;", "디스플레이 전환 "},           {"E,B;", "브러시 전환 "},
      {"Ctrl+Shift+A;", "Ctrl+Shift+A "},         {"Ctrl+Shift+", "Ctrl+Shift+"},
      {"Ctrl+A;MouseLeft;", "Ctrl+A;마우스 좌클릭;"},
      {"RunFile:/Applications/Editor.app", "프로그램 실행/Applications/Editor.app"},
      {"MouseLeft;RunFile:/opt/a b", "마우스 좌클릭 프로그램 실행/opt/a b"},
      {"MouseLeft;MouseLeft;MouseLeft;", "마우스 좌클릭;마우스 좌클릭;마우스 좌클릭;"},
  };
  for (const auto& [command, label] : cases)
    EXPECT_EQ(KeyMapInfo::shortkeyToChina(command), label) << command;
}

TEST(ShortcutRecord, BuildsTheCommandStringOfARecord) {
  const std::pair<const char*, const char*> cases[] = {
      {R"({"enableKeyboard":1,"keyboardEvent":"A B ","shortcutEvent":"Ctrl+","enableMouse":1,
           "mouse":"MouseLeft;","enableFunc":0,"function":"Monitor;","enableRun":1,
           "filePath":"/Applications/Editor.app","shortcut":"Ctrl+A B "})",
       "Ctrl+A;Ctrl+B;MouseLeft;RunFile:/Applications/Editor.app"},
      // Keyboard part: every key a chord of its own; no key, modifiers alone.
      {R"({"enableKeyboard":1,"keyboardEvent":"","shortcutEvent":"Ctrl+Shift+"})", "Ctrl+Shift+"},
      {R"({"enableKeyboard":1,"keyboardEvent":"A ","shortcutEvent":""})", "A;"},
      {R"({"enableKeyboard":1,"keyboardEvent":"A","shortcutEvent":"Option+"})", "Option+"},
      {R"({"enableKeyboard":1,"keyboardEvent":"A  B ","shortcutEvent":"Shift+"})", "Shift+A;Shift+B;"},
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
      {R"({"enableFunc":"1","function":"Monitor;"})", ""},
      {R"({"function":"Monitor;"})", ""},
      // An enabled part without its text adds nothing instead of failing.
      {R"({"enableMouse":1,"enableKeyboard":1,"enableRun":1})", "RunFile:"},
      {R"({"enableMouse":1,"mouse":7})", ""},
  };
  for (const auto& [text, command] : cases) {
    const auto record = objectFromJSONString(text);
    ASSERT_TRUE(record) << text;
    EXPECT_EQ(commandForShortcutRecord(*record), command) << text;
  }
}

using Lines = std::vector<std::string>;

// An executor whose every effect, notifications included, lands in `lines`
// in the replay tool's format.
struct Harness {
  NotificationCenter center;  // outlives the transcript that observes it
  Lines lines;
  ShortcutTranscript transcript{[this](const std::string& line) { lines.push_back(line); }};
  InputEmulator emulator{transcript, transcript, center};

  Harness() { transcript.observe(center); }

  Lines run(const std::string& command, bool down, int key = 0) {
    lines.clear();
    emulator.sendKeyboard(command, down, key);
    return lines;
  }
};

TEST(InputEmulator, RunsCommandsOnTheDownAndUpCalls) {
  const struct { const char* command; Lines down, up; } cases[] = {  // down: after the DownKey line
      {"Command+Option+Z;", {"key code=6 flags=0x180000 down=1"}, {"key code=6 flags=0x180000 down=0"}},
      {"Function+F1;", {"key code=122 flags=0x800000 down=1"}, {"key code=122 flags=0x800000 down=0"}},
      {"CapsLock;", {"key code=57 flags=0x0 down=1"}, {"key code=57 flags=0x0 down=0"}},
      // Modifiers-only chords post the legacy event named by the modifiers.
      {"Ctrl+Shift+", {"modkey code=59 down=1"}, {"modkey code=59 down=0"}},
      {"Command+", {"modkey code=55 down=1"}, {"modkey code=55 down=0"}},
      {"Shift+", {"modkey code=56 down=1"}, {"modkey code=56 down=0"}},
      {"Shift+Option+", {"modkey code=58 down=1"}, {"modkey code=58 down=0"}},
      {"Option+Ctrl+", {"modkey code=59 down=1"}, {"modkey code=59 down=0"}},
      {"Ctrl+Command+", {"modkey code=63 down=1"}, {"modkey code=63 down=0"}},
      // A key before a modifier is dropped: the modifier resets the chord's key.
      {"A+Ctrl;", {"modkey code=59 down=1"}, {"modkey code=59 down=0"}},
      // Mouse actions (the right button and a Ctrl+Shift chord run in the replay test).
      {"MouseLeft;", {"mouse button=0 type=1 clicks=1"}, {"mouse button=0 type=2 clicks=1"}},
      {"MouseMiddle;", {"mouse button=2 type=25 clicks=1"}, {"mouse button=2 type=26 clicks=1"}},
      {"MouseDoubleClick;", {"mouse button=0 type=1 clicks=1", "mouse button=0 type=2 clicks=1",
                             "mouse button=0 type=1 clicks=2", "mouse button=0 type=2 clicks=2"}, {}},
      {"ScrollBack;", {"scroll pixels=5"}, {"scroll pixels=5"}},
      {"ScrollForward;", {"scroll pixels=-5"}, {"scroll pixels=-5"}},
      // A mouse token ends its command and replaces a chord begun before it.
      {"Ctrl+MouseLeft;", {"mouse button=0 type=1 clicks=1"}, {"mouse button=0 type=2 clicks=1"}},
      {"MouseRight+A;", {"mouse button=1 type=3 clicks=1"}, {"mouse button=1 type=4 clicks=1"}},
      // Display switch and file opening run on the down call only, keeping a chord begun before.
      {"Monitor;", {"notify Monitor"}, {}},
      {"Ctrl+Monitor+A;", {"notify Monitor", "modkey code=59 down=1"}, {"modkey code=59 down=0"}},
      {"RunFile:/Applications/Editor.app", {"open path=/Applications/Editor.app"}, {}},
      {"RunFile:", {"open path="}, {}},
      {"RunFile:/a:b", {"open path=/a"}, {}},
      {"RunFile:/a+b", {"open path=/a"}, {}},
      {"RunFile:/x;y", {"open path=/x"}, {}},
      {"RunFile:/Monitors/app", {"notify Monitor"}, {}},
      // Parsing opens the file before the parsed chords and clicks are posted.
      {"Ctrl+A;MouseLeft;RunFile:/e",
       {"open path=/e", "key code=0 flags=0x40000 down=1", "mouse button=0 type=1 clicks=1"},
       {"key code=0 flags=0x40000 down=0", "mouse button=0 type=2 clicks=1"}},
      // Names missing from the table and empty parts are skipped.
      {"Control+A;", {"key code=0 flags=0x0 down=1"}, {"key code=0 flags=0x0 down=0"}},
      {";;+;Nothing;", {}, {}},
      // A "Function" chord has no modifier key to post on its own.
      {"Function+", {}, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.command);
    Harness h;
    Lines down{"notify DownKey kid=4"};
    down.insert(down.end(), c.down.begin(), c.down.end());
    EXPECT_EQ(h.run(c.command, true, 4), down);
    EXPECT_EQ(h.run(c.command, false, 4), c.up);
  }
}

// The toggle types B on odd presses of any key and E on even ones; both calls
// of a press type the same letter; up calls neither count nor announce.
TEST(InputEmulator, BrushToggleFollowsThePressCount) {
  Harness h;
  EXPECT_EQ(h.run("MouseLeft;", false, 3).size(), 1u);
  EXPECT_EQ(h.run("", true, 3), (Lines{"notify DownKey kid=3"}));
  for (const char* code : {"14", "11", "14"}) {
    const std::string key = std::string("key code=") + code + " flags=0x0 ";
    EXPECT_EQ(h.run("E,B;", true), (Lines{"notify DownKey kid=0", key + "down=1"}));
    EXPECT_EQ(h.run("E,B;", false), (Lines{key + "down=0"}));
  }
  h.run("Ctrl+Z;", true, 2);
  EXPECT_EQ(h.run("E,B;", true, 1).back(), "key code=14 flags=0x0 down=1");
  EXPECT_EQ(h.emulator.downCount(), 6u);
}

}  // namespace
}  // namespace taviro
