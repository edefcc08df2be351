#pragma once
// What the driver needs of the express-key shortcuts. The shortcut store
// answers lookups and saves or restores its own settings; the command executor
// runs a command string. The lookup runs on the driver thread; the runner is
// called on the main queue, in the order the driver queued the calls.
#include <string>

namespace taviro {

class ShortcutLookup {
 public:
  virtual ~ShortcutLookup() = default;
  // The command string of key index `key` (0..15); empty when none is set.
  // Called on the driver thread while the main thread may replace the store.
  virtual std::string readShortcutForCmd(int key) = 0;
};

class ShortcutRunner {
 public:
  virtual ~ShortcutRunner() = default;
  // Runs `command` for a key going down (true) or up (false); main thread.
  virtual void sendKeyboard(const std::string& command, bool down, int key) = 0;
};

// The shortcut store's part in saving and resetting the driver settings.
class ShortcutSettingsStore {
 public:
  virtual ~ShortcutSettingsStore() = default;
  virtual void saveShortcutConfig() = 0;
  virtual void defaultShortcutConfig() = 0;
};

}  // namespace taviro
