#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <thread>

#include "FakeShortcutEditor.h"
#include "foundation/Log.h"
#include "json/JSONKit.h"
#include "shortcuts/Configure.h"

namespace taviro {
namespace {

namespace fs = std::filesystem;
using Box = ShortcutEditor::EnableBox;

constexpr const char* kTwoKeys =
    R"({"3":{"enableKeyboard":1,"keyboardEvent":"Z ","shortcutEvent":"Ctrl+","shortcut":"Ctrl+Z ",)"
    R"("enableMouse":0,"mouse":"ScrollBack;","enableFunc":0,"function":"E,B;","enableRun":1,)"
    R"("filePath":"/opt/krita"},)"
    R"("12":{"enableKeyboard":0,"keyboardEvent":"","shortcutEvent":"","shortcut":"",)"
    R"("enableMouse":1,"enableFunc":1,"function":"Monitor;","enableRun":0,"filePath":""}})";

// Log lines written while a test runs.
std::mutex g_logMutex;
std::vector<std::string> g_log;
void captureLog(std::string_view line) {
  std::lock_guard lock(g_logMutex);
  g_log.emplace_back(line);
}

class ConfigureTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // Unique per run, so that builds testing side by side do not collide.
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    dir_ = fs::temp_directory_path() /
           ("taviro-shortcuts-" + std::to_string(stamp) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(dir_);
    defaultFile_ = dir_ / "shortcut.json";
    previousSink_ = setLogSink(&captureLog);
    g_log.clear();
  }
  void TearDown() override {
    setLogSink(previousSink_);
    fs::remove_all(dir_);
  }
  void writeDefaultFile(std::string_view text) { std::ofstream(defaultFile_) << text; }
  void store(std::string_view text) { defaults_.setObject(kShortcutSettingsKey, Value(text)); }
  std::optional<std::string> stored() const {
    auto v = defaults_.objectForKey(kShortcutSettingsKey);
    if (!v || !v->asString()) return std::nullopt;
    return *v->asString();
  }
  bool logged(std::string_view text) const {
    for (const auto& line : g_log)
      if (line.find(text) != std::string::npos) return true;
    return false;
  }

  fs::path dir_;
  fs::path defaultFile_;
  UserDefaults defaults_;
  LogSink previousSink_ = nullptr;
};

TEST_F(ConfigureTest, StoredTextWinsOverTheDefaultFile) {
  writeDefaultFile(R"({"3":{"enableFunc":1,"function":"Monitor;"}})");
  store(kTwoKeys);
  Configure configure(defaults_, defaultFile_);
  EXPECT_EQ(configure.readShortcutForCmd(3), "Ctrl+Z;RunFile:/opt/krita");
  EXPECT_EQ(configure.readShortcutForCmd(12), "Monitor;");
  for (int key : {0, 1, 2, 4, 7, 11, 13, 15, -1}) EXPECT_EQ(configure.readShortcutForCmd(key), "");
}

TEST_F(ConfigureTest, DefaultFileIsUsedWhenNothingIsStored) {
  writeDefaultFile(kTwoKeys);
  Configure configure(defaults_, defaultFile_);
  EXPECT_EQ(configure.readShortcutForCmd(3), "Ctrl+Z;RunFile:/opt/krita");
}

TEST_F(ConfigureTest, RegisteredValueAnswersLikeAStoredOne) {
  // A settings import registers its values as defaults; a reset then finds them.
  writeDefaultFile(R"({})");
  defaults_.registerDefaults({{std::string(kShortcutSettingsKey), Value(kTwoKeys)}});
  Configure configure(defaults_, defaultFile_);
  EXPECT_EQ(configure.readShortcutForCmd(12), "Monitor;");
}

TEST_F(ConfigureTest, WithoutStoredTextOrFileEveryCommandIsEmpty) {
  Configure configure(defaults_, dir_ / "missing.json");
  for (int key = 0; key < 16; ++key) EXPECT_EQ(configure.readShortcutForCmd(key), "");
  EXPECT_TRUE(logged("missing.json"));
  configure.saveShortcutConfig();
  EXPECT_FALSE(defaults_.objectForKey(kShortcutSettingsKey));
}

TEST_F(ConfigureTest, CorruptStoredTextIsReportedAndKept) {
  writeDefaultFile(kTwoKeys);
  const std::string corrupt = R"({"3":{"enableFunc":1,"function":"Monitor;"})";  // one brace short
  store(corrupt);
  Configure configure(defaults_, defaultFile_);
  EXPECT_EQ(configure.readShortcutForCmd(3), "");
  EXPECT_TRUE(logged("the stored shortcut settings cannot be read"));

  test::FakeShortcutEditor editor;
  editor.id = 3;
  EXPECT_FALSE(configure.writeShortcutConfig(editor));
  configure.saveShortcutConfig();
  EXPECT_EQ(stored(), corrupt) << "saving must not lose the text it could not read";

  // A reset removes the stored text first; then the default file applies.
  defaults_.removeObjectForKey(kShortcutSettingsKey);
  configure.defaultShortcutConfig();
  EXPECT_EQ(configure.readShortcutForCmd(3), "Ctrl+Z;RunFile:/opt/krita");
}

TEST_F(ConfigureTest, StoredValueThatIsNoTextFallsBackToTheDefaultFile) {
  writeDefaultFile(kTwoKeys);
  defaults_.setObject(kShortcutSettingsKey, Value(42));
  Configure configure(defaults_, defaultFile_);
  EXPECT_EQ(configure.readShortcutForCmd(12), "Monitor;");
  EXPECT_TRUE(logged("not a text"));
  EXPECT_EQ(defaults_.objectForKey(kShortcutSettingsKey), Value(42)) << "kept until a save";
}

TEST_F(ConfigureTest, ReadingFillsTheEditorInOrder) {
  store(kTwoKeys);
  Configure configure(defaults_, defaultFile_);
  test::FakeShortcutEditor editor;
  editor.id = 3;
  ASSERT_TRUE(configure.readShortcutConfig(editor));
  EXPECT_EQ(editor.calls,
            (std::vector<std::string>{"setMouseEvent", "setFunctionEvent", "setKeyboardEvent",
                                      "setShortcutEvent", "setShortcutText",
                                      "setStringValue filePathTextField",
                                      "setCheckState enableKeyboard", "setCheckState enableMouseEvent",
                                      "setCheckState enableRunEvent", "setCheckState enableFuncEvent"}));
  EXPECT_EQ(editor.mouse, "ScrollBack;");
  EXPECT_EQ(editor.function, "E,B;");
  EXPECT_EQ(editor.keys, "Z ");
  EXPECT_EQ(editor.modifiers, "Ctrl+");
  EXPECT_EQ(editor.shortcutText, "Ctrl+Z ");
  EXPECT_EQ(editor.filePath, "/opt/krita");
  EXPECT_EQ(editor.states,
            (std::map<Box, int>{{Box::enableKeyboard, 1}, {Box::enableMouseEvent, 0},
                                {Box::enableRunEvent, 1}, {Box::enableFuncEvent, 0}}));
}

TEST_F(ConfigureTest, ReadingARecordWithoutMouseLeavesNoRadioChosen) {
  store(kTwoKeys);
  Configure configure(defaults_, defaultFile_);
  test::FakeShortcutEditor editor;
  editor.id = 12;
  editor.mouse = "MouseLeft;";
  ASSERT_TRUE(configure.readShortcutConfig(editor));
  EXPECT_EQ(editor.mouse, std::nullopt);
  EXPECT_EQ(editor.function, "Monitor;");
}

TEST_F(ConfigureTest, ReadingAKeyWithoutRecordFailsAndClearsTheEditor) {
  store(kTwoKeys);
  Configure configure(defaults_, defaultFile_);
  test::FakeShortcutEditor editor;
  editor.id = 5;
  editor.keys = "A ";
  editor.states[Box::enableRunEvent] = 1;
  EXPECT_FALSE(configure.readShortcutConfig(editor));
  EXPECT_EQ(editor.keys, "");
  EXPECT_EQ(editor.states[Box::enableRunEvent], 0);
}

TEST_F(ConfigureTest, WritingStoresTheEditorStateInMemoryUntilSaved) {
  store(kTwoKeys);
  Configure configure(defaults_, defaultFile_);
  test::FakeShortcutEditor editor;
  editor.id = 12;
  editor.mouse = "MouseDoubleClick;";
  editor.function = std::nullopt;  // never chosen: the member goes
  editor.keys = "A B ";
  editor.modifiers = "Ctrl+Shift+";
  editor.shortcutText = "Ctrl+Shift+A B ";
  editor.filePath = "/usr/bin/gimp";
  editor.states = {{Box::enableKeyboard, 1}, {Box::enableMouseEvent, 1},
                   {Box::enableFuncEvent, 1}, {Box::enableRunEvent, 0}};
  ASSERT_TRUE(configure.writeShortcutConfig(editor));
  EXPECT_EQ(configure.readShortcutForCmd(12), "Ctrl+Shift+A;Ctrl+Shift+B;MouseDoubleClick;");
  EXPECT_EQ(configure.readShortcutForCmd(3), "Ctrl+Z;RunFile:/opt/krita") << "other keys kept";
  EXPECT_EQ(stored(), kTwoKeys) << "nothing reaches the defaults before a save";

  configure.saveShortcutConfig();
  const auto saved = stored();
  ASSERT_TRUE(saved);
  EXPECT_EQ(saved->find('\n'), std::string::npos) << "compact text: " << *saved;
  EXPECT_EQ(saved->find("\": "), std::string::npos) << "compact text: " << *saved;
  const auto document = objectFromJSONString(*saved);
  ASSERT_TRUE(document);
  const Value* record = document->find("12");
  ASSERT_TRUE(record && record->isDict());
  // Compared as text: the reader types 1 as unsigned, the writer as signed.
  const Value::Dict expected{{"enableKeyboard", 1},
                             {"keyboardEvent", "A B "},
                             {"shortcutEvent", "Ctrl+Shift+"},
                             {"shortcut", "Ctrl+Shift+A B "},
                             {"enableMouse", 1},
                             {"mouse", "MouseDoubleClick;"},
                             {"enableFunc", 1},
                             {"enableRun", 0},
                             {"filePath", "/usr/bin/gimp"}};
  EXPECT_EQ(JSONString(*record->asDict()), JSONString(expected));
}

TEST_F(ConfigureTest, WritingNeverCreatesARecord) {
  store(kTwoKeys);
  Configure configure(defaults_, defaultFile_);
  test::FakeShortcutEditor editor;
  editor.id = 4;
  editor.states[Box::enableFuncEvent] = 1;
  editor.function = "Monitor;";
  EXPECT_FALSE(configure.writeShortcutConfig(editor));
  EXPECT_EQ(configure.readShortcutForCmd(4), "");
  configure.saveShortcutConfig();
  EXPECT_EQ(stored(), kTwoKeys);
}

// Lookups read leniently, but an edit rewrites the text and must not replace
// bytes it could not read.
TEST_F(ConfigureTest, TextWithBrokenUnicodeIsReadButNotRewritten) {
  const std::string loose = "{\"3\":{\"enableRun\":1,\"filePath\":\"/opt/\xff\"}}";
  store(loose);
  Configure configure(defaults_, defaultFile_);
  EXPECT_EQ(configure.readShortcutForCmd(3), "RunFile:/opt/\xEF\xBF\xBD");
  test::FakeShortcutEditor editor;
  editor.id = 3;
  EXPECT_FALSE(configure.writeShortcutConfig(editor));
  configure.saveShortcutConfig();
  EXPECT_EQ(stored(), loose);
}

TEST_F(ConfigureTest, ResetReloadsWhatTheDefaultsNowHold) {
  writeDefaultFile(kTwoKeys);
  Configure configure(defaults_, defaultFile_);
  store(R"({"3":{"enableFunc":1,"function":"E,B;"}})");
  EXPECT_EQ(configure.readShortcutForCmd(3), "Ctrl+Z;RunFile:/opt/krita") << "loaded once";
  configure.defaultShortcutConfig();
  EXPECT_EQ(configure.readShortcutForCmd(3), "E,B;");
}

// The driver thread looks commands up while the main thread edits: every
// answer must be the whole command of one version of the text.
TEST_F(ConfigureTest, LookupsDuringEditsSeeWholeVersions) {
  store(kTwoKeys);
  Configure configure(defaults_, defaultFile_);
  std::atomic<bool> done{false};
  std::atomic<int> torn{0};
  std::thread driver([&] {
    while (!done.load()) {
      const std::string c = configure.readShortcutForCmd(12);
      if (c != "Monitor;" && c != "MouseLeft;") torn.fetch_add(1);
    }
  });
  test::FakeShortcutEditor editor;
  editor.id = 12;
  for (int i = 0; i < 200; ++i) {
    const bool mouse = i % 2 == 0;
    editor.states = {{Box::enableMouseEvent, mouse}, {Box::enableFuncEvent, !mouse}};
    editor.mouse = "MouseLeft;";
    editor.function = "Monitor;";
    ASSERT_TRUE(configure.writeShortcutConfig(editor));
    if (i % 50 == 0) configure.defaultShortcutConfig();
  }
  done = true;
  driver.join();
  EXPECT_EQ(torn.load(), 0);
}

}  // namespace
}  // namespace taviro
