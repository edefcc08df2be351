#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <iterator>
#include <map>
#include <mutex>
#include <thread>
#include <tuple>

#include "foundation/Log.h"
#include "json/JSONKit.h"
#include "shortcuts/CommandText.h"
#include "shortcuts/Configure.h"
#include "shortcuts/KeyMapInfo.h"
#include "shortcuts/ShortcutRecord.h"

namespace taviro {
namespace {

using Box = ShortcutEditor::EnableBox;
using Field = ShortcutEditor::TextField;

// A shortcut editor without widgets: plain members, and every setter the
// store calls noted in `calls`, in order.
struct FakeEditor : ShortcutEditor {
  long id = 0;
  std::optional<std::string> mouse, function;
  std::string keys, modifiers, shortcutText, filePath, calls;
  std::map<Box, int> states;

  long keyId() const override { return id; }
  std::optional<std::string> mouseEvent() const override { return mouse; }
  std::optional<std::string> functionEvent() const override { return function; }
  std::string keyboardEvent() const override { return keys; }
  std::string shortcutEvent() const override { return modifiers; }
  int checkState(Box box) const override { return states.contains(box) ? states.at(box) : 0; }
  std::string stringValue(Field f) const override {
    return f == Field::filePathTextField ? filePath : shortcutText;
  }

  void setMouseEvent(const std::optional<std::string>& c) override { calls += "mouse "; mouse = c; }
  void setFunctionEvent(const std::optional<std::string>& c) override {
    calls += "function ";
    function = c;
  }
  void setKeyboardEvent(const std::string& k) override { calls += "keys "; keys = k; }
  void setShortcutEvent(const std::string& m) override { calls += "modifiers "; modifiers = m; }
  void setShortcutText(const std::string& t) override { calls += "text "; shortcutText = t; }
  void setStringValue(Field f, const std::string& t) override {
    calls += f == Field::filePathTextField ? "filePath " : "shortcutField ";
    (f == Field::filePathTextField ? filePath : shortcutText) = t;
  }
  void setCheckState(Box box, int state) override {
    static constexpr const char* kBoxes[] = {"keyboardBox ", "mouseBox ", "funcBox ", "runBox "};
    calls += kBoxes[static_cast<int>(box)];
    states[box] = state;
  }
};

constexpr const char* kTwoKeys =
    R"({"3":{"enableKeyboard":1,"keyboardEvent":"Z ","shortcutEvent":"Ctrl+","shortcut":"Ctrl+Z ",)"
    R"("enableMouse":0,"mouse":"ScrollBack;","enableFunc":0,"function":"E,B;","enableRun":1,)"
    R"("filePath":"/opt/krita"},)"
    R"("12":{"enableKeyboard":0,"keyboardEvent":"","shortcutEvent":"","shortcut":"",)"
    R"("enableMouse":1,"enableFunc":1,"function":"Monitor;","enableRun":0,"filePath":""}})";
constexpr const char* kKey3 = "Ctrl+Z;RunFile:/opt/krita";

std::mutex g_logMutex;
std::string g_log;  // what was logged while a test runs
void captureLog(std::string_view line) {
  std::lock_guard lock(g_logMutex);
  g_log.append(line).append("\n");
}

// The default shortcuts installed with the program.
const std::string kDefaultFile = std::string(TAVIRO_DATA_DIR) + "/shortcut.json";

class ConfigureTest : public ::testing::Test {
 protected:
  void SetUp() override {
    previousSink_ = setLogSink(&captureLog);
    g_log.clear();
  }
  void TearDown() override { setLogSink(previousSink_); }
  void store(std::string_view text) { defaults_.setObject(kShortcutSettingsKey, Value(text)); }
  std::optional<std::string> stored() const {
    auto v = defaults_.objectForKey(kShortcutSettingsKey);
    return v && v->asString() ? std::optional(*v->asString()) : std::nullopt;
  }
  bool logged(std::string_view text) const { return g_log.find(text) != std::string::npos; }

  UserDefaults defaults_;
  LogSink previousSink_ = nullptr;
};

TEST_F(ConfigureTest, TextComesFromTheDefaultsStoreBeforeTheDefaultFile) {
  Configure configure(defaults_, kDefaultFile);
  EXPECT_EQ(configure.readShortcutForCmd(3), "Ctrl+=;");
  EXPECT_EQ(configure.readShortcutForCmd(8), "Monitor;");
  store(kTwoKeys);
  EXPECT_EQ(configure.readShortcutForCmd(8), "Monitor;") << "loaded once";
  configure.defaultShortcutConfig();
  EXPECT_EQ(configure.readShortcutForCmd(3), kKey3);
  EXPECT_EQ(configure.readShortcutForCmd(12), "Monitor;");
  for (int key : {0, 1, 2, 4, 7, 8, 11, 13, 15, -1}) EXPECT_EQ(configure.readShortcutForCmd(key), "");
  // A settings import registers its values as defaults; a reset then finds them.
  defaults_.removeObjectForKey(kShortcutSettingsKey);
  defaults_.registerDefaults({{std::string(kShortcutSettingsKey),
                               Value(R"({"12":{"enableMouse":1,"mouse":"MouseLeft;"}})")}});
  configure.defaultShortcutConfig();
  EXPECT_EQ(configure.readShortcutForCmd(12), "MouseLeft;");
}

// Every key id the driver runs shortcuts for (0 to 15 but the pen tip, 7) has
// a complete record, read strictly as the editor writes with the strict reader.
TEST_F(ConfigureTest, DefaultFileHoldsCompleteRecordsForEveryKeyTheDriverUses) {
  std::ifstream in(kDefaultFile, std::ios::binary);
  const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  const auto document = mutableObjectFromJSONString(text);
  ASSERT_TRUE(document && document->isDict()) << kDefaultFile;
  EXPECT_EQ(document->asDict()->size(), 15u);
  for (int k = 0; k < 16; ++k) {
    if (k == 7) continue;
    SCOPED_TRACE(k);
    const Value* record = document->find(std::to_string(k));
    ASSERT_TRUE(record && record->isDict());
    EXPECT_EQ(record->asDict()->size(), 10u);
    for (auto m : {"enableKeyboard", "enableMouse", "enableFunc", "enableRun"}) {
      const Value* v = record->find(m);
      EXPECT_TRUE(v && v->asUInt() && *v->asUInt() <= 1u) << m;
    }
    for (auto m : {"keyboardEvent", "shortcutEvent", "shortcut", "mouse", "function", "filePath"})
      EXPECT_TRUE(record->find(m) && record->find(m)->isString()) << m;
    EXPECT_EQ(shortcutString(*record, "shortcut"),
              shortcutString(*record, "shortcutEvent") + shortcutString(*record, "keyboardEvent"));
    // Every recorded key is a name of the key table, written with its space.
    const std::string keys = shortcutString(*record, "keyboardEvent");
    EXPECT_TRUE(keys.empty() || keys.back() == ' ');
    const auto names = splitCommandText(keys, ' ');
    for (std::size_t i = 0; i + 1 < names.size(); ++i)
      EXPECT_TRUE(KeyMapInfo::shared().codeForName(names[i])) << keys;
  }
}

TEST_F(ConfigureTest, MissingSourcesAreLoggedAndStoredValuesKept) {
  Configure missing(defaults_, "/nonexistent/missing.json");
  for (int key = 0; key < 16; ++key) EXPECT_EQ(missing.readShortcutForCmd(key), "");
  EXPECT_TRUE(logged("missing.json"));
  missing.saveShortcutConfig();
  EXPECT_FALSE(defaults_.objectForKey(kShortcutSettingsKey));

  defaults_.setObject(kShortcutSettingsKey, Value(42));
  Configure configure(defaults_, kDefaultFile);
  EXPECT_EQ(configure.readShortcutForCmd(8), "Monitor;") << "the default file applies";
  EXPECT_TRUE(logged("not a text"));
  EXPECT_EQ(defaults_.objectForKey(kShortcutSettingsKey), Value(42)) << "kept until a save";
}

TEST_F(ConfigureTest, ReadingFillsTheEditorInOrder) {
  store(kTwoKeys);
  Configure configure(defaults_, kDefaultFile);
  FakeEditor editor;
  editor.id = 3;
  ASSERT_TRUE(configure.readShortcutConfig(editor));
  EXPECT_EQ(editor.calls,
            "mouse function keys modifiers text filePath keyboardBox mouseBox runBox funcBox ");
  EXPECT_EQ(editor.mouse, "ScrollBack;");
  EXPECT_EQ(editor.function, "E,B;");
  EXPECT_EQ(editor.keys, "Z ");
  EXPECT_EQ(editor.modifiers, "Ctrl+");
  EXPECT_EQ(editor.shortcutText, "Ctrl+Z ");
  EXPECT_EQ(editor.filePath, "/opt/krita");
  EXPECT_EQ(editor.states, (std::map<Box, int>{{Box::enableKeyboard, 1}, {Box::enableMouseEvent, 0},
                                               {Box::enableRunEvent, 1}, {Box::enableFuncEvent, 0}}));

  // A record without "mouse" leaves no radio button chosen.
  editor.id = 12;
  ASSERT_TRUE(configure.readShortcutConfig(editor));
  EXPECT_EQ(editor.mouse, std::nullopt);
  EXPECT_EQ(editor.function, "Monitor;");
  // A key without a record fails and clears the editor.
  editor.id = 5;
  editor.keys = "A ";
  editor.states[Box::enableRunEvent] = 1;
  EXPECT_FALSE(configure.readShortcutConfig(editor));
  EXPECT_EQ(editor.keys, "");
  EXPECT_EQ(editor.states[Box::enableRunEvent], 0);
}

TEST_F(ConfigureTest, WritingStoresTheEditorStateInMemoryUntilSaved) {
  store(kTwoKeys);
  Configure configure(defaults_, kDefaultFile);
  FakeEditor editor;
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
  EXPECT_EQ(configure.readShortcutForCmd(3), kKey3) << "other keys kept";
  EXPECT_EQ(stored(), kTwoKeys) << "nothing reaches the defaults before a save";

  // Saved as compact text, the record's members in key order.
  configure.saveShortcutConfig();
  EXPECT_NE(stored().value_or("").find(
                R"("12":{"enableFunc":1,"enableKeyboard":1,"enableMouse":1,"enableRun":0,)"
                R"("filePath":"/usr/bin/gimp","keyboardEvent":"A B ","mouse":"MouseDoubleClick;",)"
                R"("shortcut":"Ctrl+Shift+A B ","shortcutEvent":"Ctrl+Shift+"})"),
            std::string::npos)
      << stored().value_or("");
}

// A write that cannot apply changes nothing, and saving never loses text the
// store could not read: stored text that does not parse (reported, and no key
// runs a shortcut), a key without a record (records are never created), and
// text read leniently (not rewritten with the bytes it could not read).
TEST_F(ConfigureTest, WritingThatCannotApplyChangesNothing) {
  const std::string corrupt = R"({"3":{"enableFunc":1,"function":"Monitor;"})";  // one brace short
  const std::string loose = "{\"3\":{\"enableRun\":1,\"filePath\":\"/opt/\xff\"}}";
  const std::tuple<std::string, int, const char*> cases[] = {
      {corrupt, 3, ""}, {kTwoKeys, 4, ""}, {loose, 3, "RunFile:/opt/\xEF\xBF\xBD"}};
  for (const auto& [text, key, command] : cases) {
    store(text);
    Configure configure(defaults_, kDefaultFile);
    EXPECT_EQ(configure.readShortcutForCmd(key), command);
    FakeEditor editor;
    editor.id = key;
    editor.states[Box::enableFuncEvent] = 1;
    editor.function = "Monitor;";
    EXPECT_FALSE(configure.writeShortcutConfig(editor)) << text;
    configure.saveShortcutConfig();
    EXPECT_EQ(stored(), text);
    EXPECT_EQ(configure.readShortcutForCmd(key), command);
    EXPECT_EQ(logged("the stored shortcut settings cannot be read"), text == corrupt) << text;
    g_log.clear();

    // A reset removes the stored text first; then the default file applies.
    defaults_.removeObjectForKey(kShortcutSettingsKey);
    configure.defaultShortcutConfig();
    EXPECT_EQ(configure.readShortcutForCmd(3), "Ctrl+=;");
  }
}

// The driver thread looks commands up while the main thread edits: every
// answer must be the whole command of one version of the text.
TEST_F(ConfigureTest, LookupsDuringEditsSeeWholeVersions) {
  store(kTwoKeys);
  Configure configure(defaults_, kDefaultFile);
  std::atomic<bool> done{false};
  std::atomic<int> torn{0};
  std::thread driver([&] {
    while (!done.load()) {
      const std::string c = configure.readShortcutForCmd(12);
      if (c != "Monitor;" && c != "MouseLeft;") torn.fetch_add(1);
    }
  });
  FakeEditor editor;
  editor.id = 12;
  editor.mouse = "MouseLeft;";
  editor.function = "Monitor;";
  for (int i = 0; i < 200; ++i) {
    const bool mouse = i % 2 == 0;
    editor.states = {{Box::enableMouseEvent, mouse}, {Box::enableFuncEvent, !mouse}};
    ASSERT_TRUE(configure.writeShortcutConfig(editor));
    if (i % 50 == 0) configure.defaultShortcutConfig();
  }
  done = true;
  driver.join();
  EXPECT_EQ(torn.load(), 0);
}

}  // namespace
}  // namespace taviro
