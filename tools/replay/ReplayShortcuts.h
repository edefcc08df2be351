#pragma once
// Shortcuts in a replay: the shortcut store over the replay's settings and the
// command executor, whose effects are printed after the shortcut line that
// caused them (key, modkey, mouse, scroll, open and notify lines).
#include <cstdio>
#include <memory>
#include <optional>
#include <string>

#include "ReplayPlatform.h"
#include "shortcuts/Configure.h"
#include "shortcuts/InputEmulator.h"
#include "shortcuts/ShortcutTranscript.h"

namespace taviro::replay {

// The text of a --shortcuts file; none, with the reason in `error`, when it
// cannot be read or is not a JSON object.
std::optional<std::string> readShortcutsFile(const std::string& path, std::string* error);

class ReplayShortcuts {
 public:
  // Wires a store and an executor into `platform` when its settings hold
  // shortcuts; otherwise every command stays empty and nothing runs. Must
  // come before platform.platform() is taken.
  ReplayShortcuts(ReplayPlatform& platform, std::FILE* out);

 private:
  std::unique_ptr<Configure> store_;
  std::unique_ptr<ShortcutTranscript> transcript_;
  std::unique_ptr<InputEmulator> emulator_;
};

}  // namespace taviro::replay
