#pragma once
// A small value shared between threads and always read or written whole
// (rectangles, points, display records). A short lock keeps a reader from
// seeing half of a write; no allocation, so it is fine on the report path.
// Every write also counts up a version, so that a reader that keeps its own
// copy (GuardedCopy) takes the lock only when the value has changed.
#include <atomic>
#include <cstdint>
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
    version_.fetch_add(1, std::memory_order_release);
  }
  operator T() const { return load(); }
  Guarded& operator=(const T& value) {
    store(value);
    return *this;
  }
  // Changes with every store; never 0.
  std::uint64_t version() const { return version_.load(std::memory_order_acquire); }

 private:
  mutable std::mutex mutex_;
  T value_{};
  std::atomic<std::uint64_t> version_{1};
};

// One thread's copy of a Guarded value: refresh() costs one atomic load while
// the value stays the same, and takes the lock only after a store. A store
// racing with refresh() leaves a copy at least as new as the version read,
// and the next refresh() loads again.
template <typename T>
class GuardedCopy {
 public:
  const T& refresh(const Guarded<T>& source) {
    const std::uint64_t seen = source.version();
    if (seen != version_) [[unlikely]] reload(source, seen);
    return value_;
  }

 private:
  // Out of line, so that the lock's code does not weigh on every caller.
  [[gnu::noinline]] void reload(const Guarded<T>& source, std::uint64_t seen) {
    value_ = source.load();
    version_ = seen;
  }

  T value_{};
  std::uint64_t version_ = 0;
};

}  // namespace taviro
