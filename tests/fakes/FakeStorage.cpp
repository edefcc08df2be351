#include "FakeStorage.h"

namespace taviro::fakes {

Value::Dict MemoryDefaultsStorage::load() {
  std::lock_guard lock(mutex_);
  return domain_;
}

bool MemoryDefaultsStorage::save(const Value::Dict& domain) {
  std::lock_guard lock(mutex_);
  domain_ = domain;
  ++saves_;
  return true;
}

Value::Dict MemoryDefaultsStorage::domain() const {
  std::lock_guard lock(mutex_);
  return domain_;
}

int MemoryDefaultsStorage::saves() const {
  std::lock_guard lock(mutex_);
  return saves_;
}

}  // namespace taviro::fakes
