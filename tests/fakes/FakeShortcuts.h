#pragma once
// Shortcut store and command executor stand-ins that record what the driver
// asks of them.
#include <atomic>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "driver/ShortcutHandOff.h"

namespace taviro::fakes {

struct ShortcutCall {
  std::string command;
  bool down = false;
  int key = 0;
  friend bool operator==(const ShortcutCall&, const ShortcutCall&) = default;
};

class FakeShortcuts : public ShortcutLookup, public ShortcutRunner, public ShortcutSettingsStore {
 public:
  std::map<int, std::string> commands;  // key index -> command string

  std::string readShortcutForCmd(int key) override;
  void sendKeyboard(const std::string& command, bool down, int key) override;
  void saveShortcutConfig() override { ++saves_; }
  void defaultShortcutConfig() override { ++resets_; }

  std::vector<ShortcutCall> calls() const;
  std::vector<int> lookups() const;
  int saves() const { return saves_; }
  int resets() const { return resets_; }

 private:
  mutable std::mutex mutex_;
  std::vector<ShortcutCall> calls_;
  std::vector<int> lookups_;
  std::atomic<int> saves_{0};
  std::atomic<int> resets_{0};
};

}  // namespace taviro::fakes
