// Command strings: the key names they are written in, the labels the user
// sees, how a stored record becomes one, and what the executor does with them.
#include <gtest/gtest.h>

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

const KeyMapInfo& keys() { return KeyMapInfo::shared(); }

// Every entry as "name=code" (no name holds a space). The semicolon key is
// named ":", the quote key U+2018; 76 and 125 are named by us.
constexpr std::string_view kInBoth =
    "A=0 S=1 D=2 F=3 H=4 G=5 Z=6 X=7 C=8 V=9 B=11 Q=12 W=13 E=14 R=15 Y=16 T=17 O=31 U=32 I=34 "
    "P=35 L=37 J=38 K=40 N=45 M=46 1=18 2=19 3=20 4=21 6=22 5=23 9=25 7=26 8=28 0=29 ==24 -=27 "
    "]=30 [=33 ,=43 /=44 .=47 :=41 \u2018=39 \\=42 `=50 Return=36 Tab=48 Space=49 Delete=51 "
    "Escape=53 CapsLock=57 Function=63 VolumeUp=72 VolumeDown=73 Mute=74 Help=114 Home=115 "
    "PageUp=116 ForwardDelete=117 End=119 PageDown=121 LeftArrow=123 RightArrow=124 "
    "DownArrow=125 UpArrow=126 KeypadDecimal=65 KeypadMultiply=67 KeypadPlus=69 KeypadClear=71 "
    "KeypadDivide=75 KeypadEnter=76 KeypadMinus=78 KeypadEquals=81 Keypad0=82 Keypad1=83 "
    "Keypad2=84 Keypad3=85 Keypad4=86 Keypad5=87 Keypad6=88 Keypad7=89 Keypad8=91 Keypad9=92 "
    "F1=122 F2=120 F3=99 F4=118 F5=96 F6=97 F7=98 F8=100 F9=101 F10=109 F11=103 F12=111 "
    "F13=105 F14=107 F15=113 F16=106 F17=64 F18=79 F19=80 F20=90 Command=55 Shift=56 Option=58";
// The modifier keys differ between the directions.
constexpr std::string_view kCodeToNameOnly = "Command=54 Shift=60 Option=61 Control=59 Control=62";
constexpr std::string_view kNameToCodeOnly = "Ctrl=59";

TEST(KeyMapInfo, TablesHoldExactlyTheListedEntries) {
  KeyMapInfo::KeyStringTable names;
  KeyMapInfo::KeyCodeTable codes;
  const auto add = [&](std::string_view entries, bool toName, bool toCode) {
    for (std::string_view entry : splitCommandText(entries, ' ')) {
      const std::size_t eq = entry.rfind('=');
      const std::string name(entry.substr(0, eq));
      const int code = std::stoi(std::string(entry.substr(eq + 1)));
      if (toName) EXPECT_TRUE(names.emplace(code, name).second) << code;
      if (toCode) EXPECT_TRUE(codes.emplace(name, code).second) << name;
    }
  };
  add(kInBoth, true, true);
  add(kCodeToNameOnly, true, false);
  add(kNameToCodeOnly, false, true);
  ASSERT_EQ(names.size(), 113u);
  ASSERT_EQ(codes.size(), 109u);
  EXPECT_EQ(keys().keyString(), names);
  EXPECT_EQ(keys().keyCode(), codes);
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
