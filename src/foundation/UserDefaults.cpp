#include "foundation/UserDefaults.h"

namespace taviro {

UserDefaults::UserDefaults(std::unique_ptr<DefaultsStorage> storage)
    : storage_(std::move(storage)) {
  if (storage_) persistent_ = storage_->load();
}

void UserDefaults::registerDefaults(const Value::Dict& defaults) {
  std::lock_guard lock(mutex_);
  for (const auto& [key, value] : defaults) registered_.insert_or_assign(key, value);
}

std::optional<Value> UserDefaults::objectForKey(std::string_view key) const {
  std::lock_guard lock(mutex_);
  if (auto it = persistent_.find(key); it != persistent_.end()) return it->second;
  if (auto it = registered_.find(key); it != registered_.end()) return it->second;
  return std::nullopt;
}

void UserDefaults::setObject(std::string_view key, Value value) {
  std::lock_guard lock(mutex_);
  persistent_.insert_or_assign(std::string(key), std::move(value));
  dirty_ = true;
}

void UserDefaults::removeObjectForKey(std::string_view key) {
  std::lock_guard lock(mutex_);
  if (auto it = persistent_.find(key); it != persistent_.end()) {
    persistent_.erase(it);
    dirty_ = true;
  }
}

Value::Dict UserDefaults::dictionaryRepresentation() const {
  std::lock_guard lock(mutex_);
  Value::Dict all = registered_;
  for (const auto& [key, value] : persistent_) all.insert_or_assign(key, value);
  return all;
}

bool UserDefaults::synchronize() {
  std::lock_guard lock(mutex_);
  if (!storage_ || !dirty_) return true;
  if (!storage_->save(persistent_)) return false;
  dirty_ = false;
  return true;
}

}  // namespace taviro
