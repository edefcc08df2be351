#pragma once
// A defaults storage in memory, counting its writes.
#include <atomic>
#include <mutex>

#include "foundation/DefaultsStorage.h"

namespace taviro::fakes {

class MemoryDefaultsStorage : public DefaultsStorage {
 public:
  std::atomic<int> saves{0};

  explicit MemoryDefaultsStorage(Value::Dict initial = {}) : domain_(std::move(initial)) {}

  Value::Dict load() override { return domain(); }
  bool save(const Value::Dict& domain) override {
    std::lock_guard lock(mutex_);
    domain_ = domain;
    ++saves;
    return true;
  }
  Value::Dict domain() const {
    std::lock_guard lock(mutex_);
    return domain_;
  }

 private:
  mutable std::mutex mutex_;
  Value::Dict domain_;
};

}  // namespace taviro::fakes
