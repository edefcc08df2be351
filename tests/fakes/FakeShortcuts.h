#pragma once
// Shortcut store and command executor stand-ins that record what the driver
// asks of them.
#include <atomic>
#include <map>
#include <mutex>
#include <ostream>
#include <string>
#include <vector>

#include "driver/ShortcutHandOff.h"

namespace taviro::fakes {

struct ShortcutCall {
  std::string command;
  bool down = false;
  int key = 0;
  friend bool operator==(const ShortcutCall&, const ShortcutCall&) = default;
  friend std::ostream& operator<<(std::ostream& out, const ShortcutCall& c) {
    return out << "{\"" << c.command << "\", " << (c.down ? "down" : "up") << ", " << c.key << "}";
  }
};

class FakeShortcuts : public ShortcutLookup, public ShortcutRunner, public ShortcutSettingsStore {
 public:
  std::map<int, std::string> commands;  // key index -> command string; set before the driver runs
  std::atomic<int> saves{0}, resets{0};

  std::string readShortcutForCmd(int key) override {
    auto it = commands.find(key);
    return it == commands.end() ? std::string() : it->second;
  }
  void sendKeyboard(const std::string& command, bool down, int key) override {
    std::lock_guard lock(mutex_);
    calls_.push_back({command, down, key});
  }
  void saveShortcutConfig() override { ++saves; }
  void defaultShortcutConfig() override { ++resets; }

  std::vector<ShortcutCall> calls() const {
    std::lock_guard lock(mutex_);
    return calls_;
  }

 private:
  mutable std::mutex mutex_;
  std::vector<ShortcutCall> calls_;
};

}  // namespace taviro::fakes
