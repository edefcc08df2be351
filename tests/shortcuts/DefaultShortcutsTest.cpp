// The default shortcut file installed with the program.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "json/JSONKit.h"
#include "shortcuts/Configure.h"
#include "shortcuts/KeyMapInfo.h"
#include "shortcuts/ShortcutRecord.h"

namespace taviro {
namespace {

const std::string kFile = std::string(TAVIRO_DATA_DIR) + "/shortcut.json";

std::string readDefaultFile() {
  std::ifstream in(kFile, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The key ids the driver runs shortcuts for: 0 to 15 except the pen tip (7).
std::vector<int> driverKeyIds() {
  std::vector<int> ids;
  for (int k = 0; k < 16; ++k)
    if (k != 7) ids.push_back(k);
  return ids;
}

TEST(DefaultShortcuts, HoldCompleteRecordsForEveryKeyTheDriverUses) {
  // Strict parsing: the editor writes with the strict reader.
  const auto document = mutableObjectFromJSONString(readDefaultFile());
  ASSERT_TRUE(document) << kFile;
  ASSERT_TRUE(document->isDict());
  EXPECT_EQ(document->asDict()->size(), 15u);
  const std::string_view numbers[] = {"enableKeyboard", "enableMouse", "enableFunc", "enableRun"};
  const std::string_view strings[] = {"keyboardEvent", "shortcutEvent", "shortcut",
                                      "mouse",         "function",      "filePath"};
  for (int k : driverKeyIds()) {
    SCOPED_TRACE(k);
    const Value* record = document->find(std::to_string(k));
    ASSERT_TRUE(record && record->isDict());
    EXPECT_EQ(record->asDict()->size(), 10u);
    for (auto m : numbers) {
      const Value* v = record->find(m);
      ASSERT_TRUE(v && v->asUInt()) << m;
      EXPECT_LE(*v->asUInt(), 1u) << m;
    }
    for (auto m : strings) EXPECT_TRUE(record->find(m) && record->find(m)->isString()) << m;
    EXPECT_EQ(shortcutString(*record, "shortcut"),
              shortcutString(*record, "shortcutEvent") + shortcutString(*record, "keyboardEvent"));
    // Every recorded key is a name of the key table, written with its space.
    const std::string keys = shortcutString(*record, "keyboardEvent");
    EXPECT_TRUE(keys.empty() || keys.back() == ' ');
    for (std::size_t start = 0, end; (end = keys.find(' ', start)) != std::string::npos;
         start = end + 1)
      EXPECT_TRUE(KeyMapInfo::shared().codeForName(keys.substr(start, end - start))) << keys;
  }
}

struct DefaultCase {
  int key;
  const char* command;
  const char* label;
};

// What docs/shortcuts.md promises.
TEST(DefaultShortcuts, GiveTheDocumentedCommands) {
  UserDefaults defaults;
  Configure configure(defaults, kFile);
  const DefaultCase cases[] = {
      {0, "Ctrl+Z;", "Ctrl+Z "},
      {1, "Ctrl+Shift+Z;", "Ctrl+Shift+Z "},
      {2, "E,B;", "브러시 전환 "},
      {3, "Ctrl+=;", "Ctrl+= "},
      {4, "Ctrl+-;", "Ctrl+- "},
      {5, "MouseRight;", "마우스 우클릭 "},
      {6, "MouseMiddle;", "마우스 휠클릭 "},
      {8, "Monitor;", "디스플레이 전환 "},
      {9, "Space;", "Space "},
      {10, "ScrollForward;", "위로 스크롤 "},
      {11, "ScrollBack;", "아래로 스크롤 "},
      {12, "", "정의되지 않음"},
      {13, "", "정의되지 않음"},
      {14, "", "정의되지 않음"},
      {15, "", "정의되지 않음"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.key);
    const std::string command = configure.readShortcutForCmd(c.key);
    EXPECT_EQ(command, c.command);
    EXPECT_EQ(KeyMapInfo::shortkeyToChina(command), c.label);
  }
}

}  // namespace
}  // namespace taviro
