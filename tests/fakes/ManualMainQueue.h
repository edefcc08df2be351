#pragma once
// A main queue that runs its work only when told to: tests drain it at the
// points they choose. Safe to fill from any thread.
#include <deque>
#include <functional>
#include <mutex>
#include <utility>
#include <vector>

#include "foundation/MainQueue.h"

namespace taviro::fakes {

class ManualMainQueue : public MainQueue {
 public:
  void async(std::function<void()> work) override {
    std::lock_guard lock(mutex_);
    queue_.push_back(std::move(work));
  }
  void after(std::chrono::milliseconds, std::function<void()> work) override {
    std::lock_guard lock(mutex_);
    delayed_.push_back(std::move(work));
  }

  // Runs queued work (and work it queues) in order.
  void drain() {
    std::unique_lock lock(mutex_);
    while (!queue_.empty()) {
      std::function<void()> work = std::move(queue_.front());
      queue_.pop_front();
      lock.unlock();
      work();
      lock.lock();
    }
  }
  bool hasDelayed() {
    std::lock_guard lock(mutex_);
    return !delayed_.empty();
  }
  // Runs the delayed work, in the order it was queued.
  void runDelayed() {
    std::unique_lock lock(mutex_);
    std::vector<std::function<void()>> work = std::exchange(delayed_, {});
    lock.unlock();
    for (auto& fn : work) fn();
  }

 private:
  std::mutex mutex_;
  std::deque<std::function<void()>> queue_;
  std::vector<std::function<void()>> delayed_;
};

}  // namespace taviro::fakes
