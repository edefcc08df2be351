#pragma once
// The shortcut store: the shortcuts of all express keys and stylus buttons as
// one JSON text, one record per key id (see ShortcutRecord.h). It comes from
// the user-defaults store or, when that holds none, from the default file
// installed with the program. Edits from the shortcut editor change the text
// in memory; saveShortcutConfig copies it into the user-defaults store.
//
// The driver thread looks commands up while the main thread replaces the text:
// every replacement publishes a new immutable snapshot (the text and its parsed
// document), and readers keep the snapshot they took, so they never see half
// of an edit. Everything except readShortcutForCmd runs on the main thread.
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "driver/ShortcutHandOff.h"
#include "foundation/UserDefaults.h"
#include "foundation/Value.h"
#include "json/JSONKit.h"
#include "shortcuts/ShortcutEditor.h"

namespace taviro {

inline constexpr std::string_view kShortcutSettingsKey = "com.pelmora.nivoltDriver.shortcutSettings";
// The default shortcuts, installed among the program's resources.
inline constexpr std::string_view kDefaultShortcutFileName = "shortcut.json";

class Configure : public ShortcutLookup, public ShortcutSettingsStore {
 public:
  // Loads the store at once. `defaultFile` is the installed "shortcut.json".
  Configure(UserDefaults& defaults, std::filesystem::path defaultFile);

  // The command string of key id `key`; empty when the key has no record, its
  // parts are all off, or the text cannot be read. Any thread.
  std::string readShortcutForCmd(int key) override;

  // Fills the editor from the record of its keyId. False (the editor is then
  // filled as for an empty record) when there is no such record.
  bool readShortcutConfig(ShortcutEditor& editor);
  // Stores the editor's state into the record of its keyId, in memory only.
  // False, changing nothing, when the text cannot be read or the key has no
  // record (records are never created here).
  bool writeShortcutConfig(ShortcutEditor& editor);

  // Copies the text into the user-defaults store (no text removes the value);
  // the caller synchronizes.
  void saveShortcutConfig() override;
  // Loads the text again, as at creation.
  void defaultShortcutConfig() override;

 private:
  struct Snapshot {
    std::optional<std::string> text;           // nothing when none could be loaded
    std::shared_ptr<const Value> document;      // null when the text does not parse
  };

  void initConfig();
  // The text to load, and in `origin` where it came from (for messages).
  std::optional<std::string> loadText(std::string& origin) const;
  // Makes `text` the current snapshot; the parse error when it does not parse.
  std::optional<JKError> publish(std::optional<std::string> text);
  std::shared_ptr<const Snapshot> snapshot() const;
  const Value* recordOf(const Snapshot& s, long keyId) const;

  UserDefaults& defaults_;
  const std::filesystem::path defaultFile_;
  mutable std::mutex mutex_;  // guards the pointer only, never the work on a snapshot
  std::shared_ptr<const Snapshot> current_;
};

}  // namespace taviro
