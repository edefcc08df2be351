#include <gtest/gtest.h>

#include <set>

#include "shortcuts/KeyMapInfo.h"

namespace taviro {
namespace {

const KeyMapInfo& keys() { return KeyMapInfo::shared(); }

TEST(KeyMapInfo, TablesHaveTheListedSizes) {
  EXPECT_EQ(keys().keyString().size(), 113u);
  EXPECT_EQ(keys().keyCode().size(), 109u);
}

struct NameCode {
  const char* name;
  int code;
};

// A sample across every group, chosen where the codes are not in name order
// (swapped digits, scattered function keys) or the name is unusual.
TEST(KeyMapInfo, NamesAndCodesAgreeInBothDirections) {
  const NameCode cases[] = {
      {"A", 0},          {"S", 1},           {"B", 11},           {"E", 14},
      {"M", 46},         {"5", 23},          {"6", 22},           {"7", 26},
      {"8", 28},         {"0", 29},          {"=", 24},           {"-", 27},
      {"]", 30},         {"[", 33},          {",", 43},           {"/", 44},
      {".", 47},         {":", 41},          {"\u2018", 39},      {"\\", 42},
      {"`", 50},         {"Return", 36},     {"Tab", 48},         {"Space", 49},
      {"Delete", 51},    {"Escape", 53},     {"CapsLock", 57},    {"Function", 63},
      {"VolumeUp", 72},  {"Mute", 74},       {"Help", 114},       {"ForwardDelete", 117},
      {"PageDown", 121}, {"LeftArrow", 123}, {"DownArrow", 125},  {"UpArrow", 126},
      {"Keypad0", 82},   {"Keypad7", 89},    {"Keypad8", 91},     {"KeypadEnter", 76},
      {"KeypadClear", 71}, {"F1", 122},      {"F2", 120},         {"F3", 99},
      {"F4", 118},       {"F10", 109},       {"F15", 113},        {"F16", 106},
      {"F17", 64},       {"F20", 90},        {"Command", 55},     {"Shift", 56},
      {"Option", 58},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(keys().codeForName(c.name).has_value());
    EXPECT_EQ(*keys().codeForName(c.name), c.code);
    ASSERT_NE(keys().nameForCode(c.code), nullptr);
    EXPECT_EQ(*keys().nameForCode(c.code), c.name);
  }
}

TEST(KeyMapInfo, ModifierKeysDifferBetweenDirections) {
  const NameCode codeToName[] = {{"Command", 54}, {"Command", 55}, {"Shift", 56}, {"Shift", 60},
                                 {"Option", 58},  {"Option", 61},  {"Control", 59},
                                 {"Control", 62}};
  for (const auto& c : codeToName) {
    SCOPED_TRACE(c.code);
    ASSERT_NE(keys().nameForCode(c.code), nullptr);
    EXPECT_EQ(*keys().nameForCode(c.code), c.name);
  }
  EXPECT_EQ(keys().codeForName("Ctrl"), 59);
  EXPECT_EQ(keys().codeForName("Command"), 55);
  EXPECT_EQ(keys().codeForName("Shift"), 56);
  EXPECT_EQ(keys().codeForName("Option"), 58);
  EXPECT_EQ(keys().nameForCode(59) ? *keys().nameForCode(59) : "", "Control");
}

TEST(KeyMapInfo, LookalikeAndMissingNamesFindNothing) {
  for (const char* name : {"Control", ";", "'", "a", "ctrl", "Enter", "Down", "", "A "}) {
    SCOPED_TRACE(name);
    EXPECT_FALSE(keys().codeForName(name).has_value());
  }
  for (int code : {10, 52, 66, 68, 70, 77, 93, 102, 104, 108, 110, 112, 127, -1})
    EXPECT_EQ(keys().nameForCode(code), nullptr) << code;
}

// Command strings are split at "+" and ";" and key lists at spaces, so no
// name may contain one; distinct codes must not share a name unless they are
// the paired modifier keys.
TEST(KeyMapInfo, NamesSurviveCommandStringSplitting) {
  for (const auto& [name, code] : keys().keyCode()) {
    SCOPED_TRACE(name);
    EXPECT_FALSE(name.empty());
    EXPECT_EQ(name.find_first_of(" +;"), std::string::npos);
  }
  std::set<std::string> seen;
  for (const auto& [code, name] : keys().keyString()) {
    const bool pairedModifier = code == 54 || code == 60 || code == 61 || code == 62;
    if (!pairedModifier) EXPECT_TRUE(seen.insert(name).second) << name << " twice";
  }
}

TEST(KeyMapInfo, EveryNameFoundByNameLeadsBackToItself) {
  for (const auto& [name, code] : keys().keyCode()) {
    if (name == "Ctrl") continue;  // its code is named "Control"
    ASSERT_NE(keys().nameForCode(code), nullptr) << name;
    EXPECT_EQ(*keys().nameForCode(code), name);
  }
}

struct LabelCase {
  const char* command;
  const char* label;
};

TEST(ShortkeyToChina, LabelsCommandStrings) {
  const LabelCase cases[] = {
      {"", "정의되지 않음"},
      {"MouseLeft;", "마우스 좌클릭 "},
      {"MouseRight;", "마우스 우클릭 "},
      {"ScrollForward;", "위로 스크롤 "},
      {"MouseDoubleClick;", "더블 클릭 "},
      {"MouseMiddle;", "마우스 휠클릭 "},
      {"ScrollBack;", "아래로 스크롤 "},
      {"Monitor;", "디스플레이 전환 "},
      {"E,B;", "브러시 전환 "},
      {"Ctrl+Shift+A;", "Ctrl+Shift+A "},
      {"Ctrl+Shift+", "Ctrl+Shift+"},
      {"Ctrl+A;MouseLeft;", "Ctrl+A;마우스 좌클릭;"},
      {"Monitor;E,B;", "디스플레이 전환;브러시 전환;"},
      {"RunFile:/Applications/Editor.app", "프로그램 실행/Applications/Editor.app"},
      {"MouseLeft;RunFile:/opt/a b", "마우스 좌클릭 프로그램 실행/opt/a b"},
      {"MouseLeft;MouseLeft;MouseLeft;", "마우스 좌클릭;마우스 좌클릭;마우스 좌클릭;"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.command);
    EXPECT_EQ(KeyMapInfo::shortkeyToChina(c.command), c.label);
  }
}

}  // namespace
}  // namespace taviro
