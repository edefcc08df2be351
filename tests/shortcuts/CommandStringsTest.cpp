// Command strings: the key names they are written in, the labels the user
// sees, and how a stored record becomes one.
#include <gtest/gtest.h>

#include <string>

#include "json/JSONKit.h"
#include "shortcuts/CommandText.h"
#include "shortcuts/KeyMapInfo.h"
#include "shortcuts/ShortcutRecord.h"

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
// The modifier keys differ between the directions; names are exact, so ";",
// "Control", "ctrl" or "A " find nothing.
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
  EXPECT_EQ(keys().codeForName("Ctrl"), 59);
  EXPECT_FALSE(keys().codeForName("Control"));
  EXPECT_FALSE(keys().codeForName(";"));
  EXPECT_EQ(*keys().nameForCode(59), "Control");
  EXPECT_EQ(keys().nameForCode(10), nullptr);
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
      {"Monitor;E,B;", "디스플레이 전환;브러시 전환;"},
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
      {R"({"enableFunc":null,"function":"Monitor;"})", ""},
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

}  // namespace
}  // namespace taviro
