#include "FakeShortcuts.h"

namespace taviro::fakes {

std::string FakeShortcuts::readShortcutForCmd(int key) {
  std::lock_guard lock(mutex_);
  lookups_.push_back(key);
  auto it = commands.find(key);
  return it == commands.end() ? std::string() : it->second;
}

void FakeShortcuts::sendKeyboard(const std::string& command, bool down, int key) {
  std::lock_guard lock(mutex_);
  calls_.push_back({command, down, key});
}

std::vector<ShortcutCall> FakeShortcuts::calls() const {
  std::lock_guard lock(mutex_);
  return calls_;
}
std::vector<int> FakeShortcuts::lookups() const {
  std::lock_guard lock(mutex_);
  return lookups_;
}

}  // namespace taviro::fakes
