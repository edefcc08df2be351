#pragma once
// Shortcut store and command executor stand-ins that record what the driver
// asks of them.
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
  void saveShortcutConfig() override;
  void defaultShortcutConfig() override;

  std::vector<ShortcutCall> calls() const;
  std::vector<int> lookups() const;
  int saves() const;
  int resets() const;

 private:
  mutable std::mutex mutex_;
  std::vector<ShortcutCall> calls_;
  std::vector<int> lookups_;
  int saves_ = 0;
  int resets_ = 0;
};

}  // namespace taviro::fakes
