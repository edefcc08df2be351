#pragma once
// A defaults storage in memory, counting its writes.
#include <mutex>

#include "foundation/DefaultsStorage.h"

namespace taviro::fakes {

class MemoryDefaultsStorage : public DefaultsStorage {
 public:
  MemoryDefaultsStorage() = default;
  explicit MemoryDefaultsStorage(Value::Dict initial) : domain_(std::move(initial)) {}

  Value::Dict load() override;
  bool save(const Value::Dict& domain) override;

  Value::Dict domain() const;
  int saves() const;

 private:
  mutable std::mutex mutex_;
  Value::Dict domain_;
  int saves_ = 0;
};

}  // namespace taviro::fakes
