// Feeds arbitrary shortcuts to the command executor, with a fake that records
// what it would post. An input whose first byte is even is a command string
// (for key id byte/2 % 16); an odd one is a shortcut store's JSON text, whose
// commands for key ids 0..15 are run in turn. Each command runs as one press:
// the down call, then the up call. What a press holds down it must let go
// (keys, modifiers and mouse buttons), and its label must be computable.
#include <map>

#include "../FuzzCheck.h"
#include "shortcuts/Configure.h"
#include "shortcuts/InputEmulator.h"
#include "shortcuts/KeyMapInfo.h"

namespace {

using namespace taviro;

[[noreturn]] void fault(const std::string& what) { fuzz::fault("fuzz_shortcuts", what); }

// Counts what is held down: keys, modifier-only events and mouse buttons.
class RecordingInput : public SyntheticInput, public ProcessLauncher {
 public:
  void postKeyboardEvent(std::uint16_t key, std::uint64_t, bool down) override { press("key", key, down); }
  void postModifierKeyEvent(std::uint16_t code, bool down) override { press("modifier", code, down); }
  void postMouseEvent(std::uint32_t button, std::uint32_t type, std::int64_t clicks) override {
    if (clicks < 1 || clicks > 2) fault("a click count of " + std::to_string(clicks));
    const bool down = type == kEventLeftMouseDown || type == kEventRightMouseDown || type == kEventOtherMouseDown;
    press("button", button, down);
  }
  void postScrollEvent(std::int32_t) override {}
  void openPath(const std::string&) override {}

  void expectAllReleased(const std::string& command) const {
    for (const auto& [what, count] : held_)
      if (count != 0) fault(what + " left " + (count > 0 ? "down" : "up") + " by \"" + command + "\"");
  }

 private:
  void press(const char* kind, std::uint32_t code, bool down) {
    held_[std::string(kind) + " " + std::to_string(code)] += down ? 1 : -1;
  }
  std::map<std::string, int> held_;
};

void press(const std::string& command, int key) {
  RecordingInput input;
  NotificationCenter center;
  InputEmulator emulator(input, input, center);
  emulator.sendKeyboard(command, true, key);
  emulator.sendKeyboard(command, false, key);
  input.expectAllReleased(command);
  (void)KeyMapInfo::shortkeyToChina(command);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::string rest(reinterpret_cast<const char*>(data) + 1, size - 1);
  if (data[0] % 2 == 0) {
    press(rest, data[0] / 2 % 16);
    return 0;
  }
  UserDefaults defaults;
  defaults.setObject(kShortcutSettingsKey, Value(rest));
  Configure store(defaults, std::filesystem::path());
  for (int key = 0; key < 16; ++key) press(store.readShortcutForCmd(key), key);
  return 0;
}
