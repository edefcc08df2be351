#pragma once
// The user-defaults store: registered defaults (in memory, lowest layer) under
// a persistent domain that a DefaultsStorage loads at creation and writes on
// synchronize(). Safe to use from any thread.
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "foundation/DefaultsStorage.h"
#include "foundation/Value.h"

namespace taviro {

class UserDefaults {
 public:
  // Without storage the persistent domain lives in memory only.
  explicit UserDefaults(std::unique_ptr<DefaultsStorage> storage = nullptr);

  void registerDefaults(const Value::Dict& defaults);
  // The persistent value, else the registered one, else nothing.
  std::optional<Value> objectForKey(std::string_view key) const;
  void setObject(std::string_view key, Value value);
  void removeObjectForKey(std::string_view key);
  // Registered defaults overlaid with the persistent domain.
  Value::Dict dictionaryRepresentation() const;
  // Writes the persistent domain when it changed since the last write.
  bool synchronize();

 private:
  mutable std::mutex mutex_;
  std::unique_ptr<DefaultsStorage> storage_;
  Value::Dict registered_;
  Value::Dict persistent_;
  bool dirty_ = false;
};

}  // namespace taviro
