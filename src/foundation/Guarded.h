#pragma once
// A small value shared between threads and always read or written whole
// (rectangles, points, display records). A short lock keeps a reader from
// seeing half of a write; no allocation, so it is fine on the report path.
#include <mutex>

namespace taviro {

template <typename T>
class Guarded {
 public:
  Guarded() = default;
  explicit Guarded(const T& value) : value_(value) {}
  Guarded(const Guarded&) = delete;
  Guarded& operator=(const Guarded&) = delete;

  T load() const {
    std::lock_guard lock(mutex_);
    return value_;
  }
  void store(const T& value) {
    std::lock_guard lock(mutex_);
    value_ = value;
  }
  operator T() const { return load(); }
  Guarded& operator=(const T& value) {
    store(value);
    return *this;
  }

 private:
  mutable std::mutex mutex_;
  T value_{};
};

}  // namespace taviro
