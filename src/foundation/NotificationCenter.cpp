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
  const Token token = next_++;
  entries_.push_back({token, std::move(name), std::make_shared<Observer>(std::move(observer))});
  return token;
}

void NotificationCenter::removeObserver(Token token) {
  std::lock_guard lock(mutex_);
  std::erase_if(entries_, [token](const Entry& e) { return e.token == token; });
}

void NotificationCenter::post(std::string_view name, const void* sender,
                              const Value::Dict* userInfo) {
  // Observers run outside the lock so that they may post or (un)register.
  std::vector<std::shared_ptr<Observer>> matching;
  {
    std::lock_guard lock(mutex_);
    for (const Entry& e : entries_)
      if (e.name == name) matching.push_back(e.observer);
  }
  const Notification n{name, sender, userInfo};
  for (const auto& observer : matching) (*observer)(n);
}

}  // namespace taviro
