#include "shortcuts/Configure.h"

#include <fstream>
#include <iterator>

#include "foundation/Log.h"
#include "json/JSONKit.h"
#include "shortcuts/ShortcutRecord.h"

namespace taviro {
namespace {

namespace Keys = ShortcutRecordKeys;
using Box = ShortcutEditor::EnableBox;
using Field = ShortcutEditor::TextField;

std::optional<std::string> readFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return std::nullopt;
  return text;
}

void setOrRemove(Value::Dict& record, std::string_view member, std::optional<std::string> value) {
  if (value)
    record.insert_or_assign(std::string(member), Value(std::move(*value)));
  else if (auto it = record.find(member); it != record.end())
    record.erase(it);
}

const Value kEmptyRecord{Value::Dict{}};

}  // namespace

Configure::Configure(UserDefaults& defaults, std::filesystem::path defaultFile)
    : defaults_(defaults), defaultFile_(std::move(defaultFile)) {
  initConfig();
}

void Configure::initConfig() {
  std::string origin;
  std::optional<std::string> text = loadText(origin);
  if (const std::optional<JKError> error = publish(std::move(text)))
    TAVIRO_LOG("+[Configure initConfig]", kLogWarn,
               "%s cannot be read: %s (line %zu, byte %zu); no key runs a shortcut until the "
               "shortcuts are reset, and the text is kept as it is",
               origin.c_str(), error->localizedDescription.c_str(), error->lineNumber.value_or(0),
               error->atIndex.value_or(0));
}

void Configure::defaultShortcutConfig() { initConfig(); }

std::optional<std::string> Configure::loadText(std::string& origin) const {
  if (const std::optional<Value> stored = defaults_.objectForKey(kShortcutSettingsKey)) {
    origin = "the stored shortcut settings";
    if (const std::string* text = stored->asString()) return *text;
    TAVIRO_LOG("+[Configure initConfig]", kLogWarn,
               "the stored shortcut settings are not a text; using the default shortcuts "
               "(the stored value stays until shortcuts are saved)");
  }
  origin = "the default shortcut file " + defaultFile_.string();
  std::optional<std::string> text = readFile(defaultFile_);
  if (!text)
    TAVIRO_LOG("+[Configure initConfig]", kLogWarn,
               "cannot read the default shortcut file %s; no key has a shortcut",
               defaultFile_.string().c_str());
  return text;
}

std::optional<JKError> Configure::publish(std::optional<std::string> text) {
  auto next = std::make_shared<Snapshot>();
  std::optional<JKError> failure;
  if (text) {
    JKError error;
    next->document = objectFromJSONStringWithParseOptions(*text, JKParseOptionLooseUnicode, &error);
    if (!next->document) failure = std::move(error);
  }
  next->text = std::move(text);
  std::lock_guard lock(mutex_);
  current_ = std::move(next);
  return failure;
}

std::shared_ptr<const Configure::Snapshot> Configure::snapshot() const {
  std::lock_guard lock(mutex_);
  return current_;
}

const Value* Configure::recordOf(const Snapshot& s, long keyId) const {
  if (!s.document) return nullptr;
  const Value* record = s.document->find(shortcutRecordName(keyId));
  return record && record->isDict() ? record : nullptr;
}

std::string Configure::readShortcutForCmd(int key) {
  const auto s = snapshot();
  const Value* record = recordOf(*s, key);
  return record ? commandForShortcutRecord(*record) : std::string();
}

bool Configure::readShortcutConfig(ShortcutEditor& editor) {
  const auto s = snapshot();
  const Value* found = recordOf(*s, editor.keyId());
  const Value& record = found ? *found : kEmptyRecord;
  editor.setMouseEvent(shortcutOptionalString(record, Keys::mouse));
  editor.setFunctionEvent(shortcutOptionalString(record, Keys::function));
  editor.setKeyboardEvent(shortcutString(record, Keys::keyboardEvent));
  editor.setShortcutEvent(shortcutString(record, Keys::shortcutEvent));
  editor.setShortcutText(shortcutString(record, Keys::shortcut));
  editor.setStringValue(Field::filePathTextField, shortcutString(record, Keys::filePath));
  editor.setCheckState(Box::enableKeyboard, shortcutPartEnabled(record, Keys::enableKeyboard));
  editor.setCheckState(Box::enableMouseEvent, shortcutPartEnabled(record, Keys::enableMouse));
  editor.setCheckState(Box::enableRunEvent, shortcutPartEnabled(record, Keys::enableRun));
  editor.setCheckState(Box::enableFuncEvent, shortcutPartEnabled(record, Keys::enableFunc));
  return found != nullptr;
}

bool Configure::writeShortcutConfig(ShortcutEditor& editor) {
  const auto s = snapshot();
  if (!s->text) {
    TAVIRO_LOG("+[Configure writeShortcutConfig:]", kLogWarn, "no shortcut settings are loaded");
    return false;
  }
  JKError error;
  std::optional<Value> document =
      mutableObjectFromJSONStringWithParseOptions(*s->text, JKParseOptionStrict, &error);
  if (!document) {
    TAVIRO_LOG("+[Configure writeShortcutConfig:]", kLogWarn,
               "the shortcut settings cannot be read (%s); nothing was changed",
               error.localizedDescription.c_str());
    return false;
  }
  Value::Dict* root = document->asDict();
  const std::string name = shortcutRecordName(editor.keyId());
  auto it = root ? root->find(name) : Value::Dict::iterator{};
  Value::Dict* record = root && it != root->end() ? it->second.asDict() : nullptr;
  if (!record) {
    TAVIRO_LOG("+[Configure writeShortcutConfig:]", kLogWarn,
               "the shortcut settings hold no record for key %s; nothing was changed",
               name.c_str());
    return false;
  }
  const auto state = [&](Box box) { return Value(editor.checkState(box)); };
  setOrRemove(*record, Keys::mouse, editor.mouseEvent());
  setOrRemove(*record, Keys::function, editor.functionEvent());
  record->insert_or_assign(std::string(Keys::enableKeyboard), state(Box::enableKeyboard));
  record->insert_or_assign(std::string(Keys::enableMouse), state(Box::enableMouseEvent));
  record->insert_or_assign(std::string(Keys::enableRun), state(Box::enableRunEvent));
  record->insert_or_assign(std::string(Keys::enableFunc), state(Box::enableFuncEvent));
  record->insert_or_assign(std::string(Keys::filePath),
                           Value(editor.stringValue(Field::filePathTextField)));
  record->insert_or_assign(std::string(Keys::shortcut),
                           Value(editor.stringValue(Field::shortcutTextField)));
  record->insert_or_assign(std::string(Keys::keyboardEvent), Value(editor.keyboardEvent()));
  record->insert_or_assign(std::string(Keys::shortcutEvent), Value(editor.shortcutEvent()));

  std::optional<std::string> text = JSONString(*root);
  if (!text) {
    TAVIRO_LOG("+[Configure writeShortcutConfig:]", kLogWarn,
               "the shortcut settings cannot be written as text; nothing was changed");
    return false;
  }
  publish(std::move(text));
  return true;
}

void Configure::saveShortcutConfig() {
  const auto s = snapshot();
  if (s->text)
    defaults_.setObject(kShortcutSettingsKey, Value(*s->text));
  else
    defaults_.removeObjectForKey(kShortcutSettingsKey);
}

}  // namespace taviro
