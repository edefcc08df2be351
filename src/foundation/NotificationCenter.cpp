#include "foundation/NotificationCenter.h"

#include <algorithm>
#include <memory>

namespace taviro {

NotificationCenter& NotificationCenter::defaultCenter() {
  static NotificationCenter center;
  return center;
}

NotificationCenter::Token NotificationCenter::addObserver(std::string name, Observer observer) {
  std::lock_guard lock(mutex_);
  auto entries = std::make_shared<Entries>(*entries_);
  const Token token = next_++;
  entries->push_back({token, std::move(name), std::move(observer)});
  entries_ = std::move(entries);
  return token;
}

void NotificationCenter::removeObserver(Token token) {
  std::lock_guard lock(mutex_);
  auto entries = std::make_shared<Entries>(*entries_);
  std::erase_if(*entries, [token](const Entry& e) { return e.token == token; });
  entries_ = std::move(entries);
}

void NotificationCenter::post(std::string_view name, const void* sender,
                              const Value::Dict* userInfo) {
  // Observers registered or removed while this runs take effect from the
  // next post on.
  std::shared_ptr<const Entries> entries;
  {
    std::lock_guard lock(mutex_);
    entries = entries_;
  }
  const Notification n{name, sender, userInfo};
  for (const Entry& e : *entries)
    if (e.name == name) e.observer(n);
}

}  // namespace taviro
