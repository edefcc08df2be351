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
    std::shared_ptr<Observer> observer;
  };
  std::mutex mutex_;
  std::vector<Entry> entries_;
  Token next_ = 1;
};

}  // namespace taviro
