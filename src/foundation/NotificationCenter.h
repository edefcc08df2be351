#pragma once
// Named notifications delivered synchronously on the posting thread, to every
// observer of that name in the order they registered.
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/Value.h"

namespace taviro {

struct Notification {
  std::string_view name;
  const void* sender = nullptr;
  const Value::Dict* userInfo = nullptr;  // null when the poster gave none
};

class NotificationCenter {
 public:
  using Observer = std::function<void(const Notification&)>;
  using Token = std::uint64_t;

  static NotificationCenter& defaultCenter();

  Token addObserver(std::string name, Observer observer);
  void removeObserver(Token token);
  void post(std::string_view name, const void* sender = nullptr,
            const Value::Dict* userInfo = nullptr);

 private:
  struct Entry {
    Token token;
    std::string name;
    Observer observer;
  };
  using Entries = std::vector<Entry>;
  std::mutex mutex_;
  // Replaced whole by every (un)registration, so that post() only takes a
  // reference to the current list: posting allocates nothing, and observers
  // run outside the lock.
  std::shared_ptr<const Entries> entries_ = std::make_shared<const Entries>();
  Token next_ = 1;
};

}  // namespace taviro
