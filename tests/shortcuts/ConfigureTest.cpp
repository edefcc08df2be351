#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <fstream>
#include <iterator>
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

// A shortcut editor without widgets: its state is a record with the stored
// member names ("mouse", "enableRun"...), a chooser left unset has no member.
struct FakeEditor : ShortcutEditor {
  long id;
  Value::Dict r;
  explicit FakeEditor(long key, const char* json = "{}")
      : id(key), r(*objectFromJSONString(json)->asDict()) {}

  static std::string box(Box b) {
    return std::array{"enableKeyboard", "enableMouse", "enableFunc", "enableRun"}[static_cast<int>(b)];
  }
  static std::string field(Field f) { return f == Field::filePathTextField ? "filePath" : "shortcut"; }
  std::optional<std::string> get(const std::string& m) const {
    return r.contains(m) ? std::optional(*r.at(m).asString()) : std::nullopt;  // strings only
  }
  void set(const std::string& m, const std::optional<std::string>& t) {
    if (t) r[m] = *t;
    else r.erase(m);
  }

  long keyId() const override { return id; }
  std::optional<std::string> mouseEvent() const override { return get("mouse"); }
  std::optional<std::string> functionEvent() const override { return get("function"); }
  std::string keyboardEvent() const override { return get("keyboardEvent").value_or(""); }
  std::string shortcutEvent() const override { return get("shortcutEvent").value_or(""); }
  std::string stringValue(Field f) const override { return get(field(f)).value_or(""); }
  int checkState(Box b) const override { return r.contains(box(b)) ? r.at(box(b)).intValue() : 0; }
  void setMouseEvent(const std::optional<std::string>& c) override { set("mouse", c); }
  void setFunctionEvent(const std::optional<std::string>& c) override { set("function", c); }
  void setKeyboardEvent(const std::string& k) override { set("keyboardEvent", k); }
  void setShortcutEvent(const std::string& m) override { set("shortcutEvent", m); }
  void setShortcutText(const std::string& t) override { set("shortcut", t); }
  void setStringValue(Field f, const std::string& t) override { set(field(f), t); }
  // Unsigned like the numbers the reader gives, so that states compare with records.
  void setCheckState(Box b, int state) override { r[box(b)] = static_cast<std::uint64_t>(state); }
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
void captureLog(std::string_view line) { std::lock_guard lock(g_logMutex); g_log.append(line) += '\n'; }

const std::string kDefaultFile = std::string(TAVIRO_DATA_DIR) + "/shortcut.json";

class ConfigureTest : public ::testing::Test {
 protected:
  void SetUp() override { previousSink_ = setLogSink(&captureLog), g_log.clear(); }
  void TearDown() override { setLogSink(previousSink_); }
  void store(std::string_view text) { defaults_.setObject(kShortcutSettingsKey, Value(text)); }
  std::optional<Value> stored() const { return defaults_.objectForKey(kShortcutSettingsKey); }
  bool logged(std::string_view text) const { return g_log.find(text) != std::string::npos; }

  UserDefaults defaults_;
  LogSink previousSink_ = nullptr;
};

TEST_F(ConfigureTest, TextComesFromTheDefaultsStoreBeforeTheDefaultFile) {
  Configure missing(defaults_, "/nonexistent/missing.json");
  for (int key = 0; key < 16; ++key) EXPECT_EQ(missing.readShortcutForCmd(key), "");
  EXPECT_TRUE(logged("missing.json"));
  missing.saveShortcutConfig();
  EXPECT_FALSE(stored());

  // A stored value that is not text is reported and kept until a save.
  defaults_.setObject(kShortcutSettingsKey, Value(42));
  Configure configure(defaults_, kDefaultFile);
  EXPECT_TRUE(logged("not a text"));
  EXPECT_EQ(stored(), Value(42));
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
  const auto document = mutableObjectFromJSONString(
      std::string{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()});
  ASSERT_TRUE(document && document->isDict()) << kDefaultFile;
  EXPECT_EQ(document->asDict()->size(), 15u);
  for (int k = 0; k < 16; ++k) {
    if (k == 7) continue;
    SCOPED_TRACE(k);
    const Value* record = document->find(std::to_string(k));
    ASSERT_TRUE(record && record->isDict());
    EXPECT_EQ(record->asDict()->size(), 10u);
    for (auto m : {"enableKeyboard", "enableMouse", "enableFunc", "enableRun"})
      EXPECT_TRUE(record->find(m) && record->find(m)->asUInt() && *record->find(m)->asUInt() <= 1u) << m;
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

TEST_F(ConfigureTest, TheEditorReadsAKeysRecordAndWritesItBackInMemoryUntilSaved) {
  store(kTwoKeys);
  Configure configure(defaults_, kDefaultFile);
  const auto records = objectFromJSONString(kTwoKeys);
  FakeEditor editor(3);
  ASSERT_TRUE(configure.readShortcutConfig(editor));
  EXPECT_EQ(Value(editor.r), *records->find("3"));
  // A record without "mouse" leaves no radio button chosen.
  editor.id = 12;
  ASSERT_TRUE(configure.readShortcutConfig(editor));
  EXPECT_EQ(Value(editor.r), *records->find("12"));
  // A key without a record fails and clears the editor.
  editor.id = 5;
  EXPECT_FALSE(configure.readShortcutConfig(editor));
  EXPECT_EQ(Value(editor.r), *objectFromJSONString(
                                R"({"enableFunc":0,"enableKeyboard":0,"enableMouse":0,"enableRun":0,)"
                                R"("filePath":"","keyboardEvent":"","shortcut":"","shortcutEvent":""})"));

  // Writing keeps the editor's state in memory until a save, which stores it
  // compact with the members in key order, as here. No "function" (never chosen): it goes.
  constexpr const char* kEdited =
      R"({"enableFunc":1,"enableKeyboard":1,"enableMouse":1,"enableRun":0,"filePath":"/usr/bin/gimp",)"
      R"("keyboardEvent":"A B ","mouse":"MouseDoubleClick;","shortcut":"Ctrl+Shift+A B ",)"
      R"("shortcutEvent":"Ctrl+Shift+"})";
  FakeEditor edited(12, kEdited);
  ASSERT_TRUE(configure.writeShortcutConfig(edited));
  EXPECT_EQ(configure.readShortcutForCmd(12), "Ctrl+Shift+A;Ctrl+Shift+B;MouseDoubleClick;");
  EXPECT_EQ(configure.readShortcutForCmd(3), kKey3) << "other keys kept";
  EXPECT_EQ(stored(), Value(kTwoKeys)) << "nothing reaches the defaults before a save";
  configure.saveShortcutConfig();
  const std::string saved = stored() && stored()->isString() ? *stored()->asString() : "";
  EXPECT_NE(saved.find(std::string(R"("12":)") + kEdited), std::string::npos) << saved;
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
    FakeEditor editor(key, R"({"enableFunc":1,"function":"Monitor;"})");
    EXPECT_FALSE(configure.writeShortcutConfig(editor)) << text;
    configure.saveShortcutConfig();
    EXPECT_EQ(stored(), Value(text));
    EXPECT_EQ(configure.readShortcutForCmd(key), command);
    EXPECT_EQ(logged("the stored shortcut settings cannot be read"), text == corrupt) << text;
    g_log.clear();
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
    for (std::string c; !done.load();)
      if (c = configure.readShortcutForCmd(12); c != "Monitor;" && c != "MouseLeft;") ++torn;
  });
  FakeEditor editor(12, R"({"mouse":"MouseLeft;","function":"Monitor;"})");
  for (int i = 0; i < 200; ++i) {
    editor.setCheckState(Box::enableMouseEvent, i % 2 == 0);
    editor.setCheckState(Box::enableFuncEvent, i % 2 != 0);
    ASSERT_TRUE(configure.writeShortcutConfig(editor));
    if (i % 50 == 0) configure.defaultShortcutConfig();
  }
  done = true;
  driver.join();
  EXPECT_EQ(torn.load(), 0);
}

}  // namespace
}  // namespace taviro
