#include "ManualMainQueue.h"

namespace taviro::fakes {

void ManualMainQueue::async(std::function<void()> work) {
  std::lock_guard lock(mutex_);
  queue_.push_back(std::move(work));
}

void ManualMainQueue::after(std::chrono::milliseconds delay, std::function<void()> work) {
  std::lock_guard lock(mutex_);
  delayed_.emplace_back(delay, std::move(work));
}

void ManualMainQueue::drain() {
  for (;;) {
    std::function<void()> work;
    {
      std::lock_guard lock(mutex_);
      if (queue_.empty()) return;
      work = std::move(queue_.front());
      queue_.pop_front();
    }
    work();
  }
}

void ManualMainQueue::runDelayed() {
  std::vector<std::pair<std::chrono::milliseconds, std::function<void()>>> work;
  {
    std::lock_guard lock(mutex_);
    work.swap(delayed_);
  }
  for (auto& [delay, fn] : work) fn();
}

std::size_t ManualMainQueue::pending() const {
  std::lock_guard lock(mutex_);
  return queue_.size();
}

std::vector<std::chrono::milliseconds> ManualMainQueue::delays() const {
  std::lock_guard lock(mutex_);
  std::vector<std::chrono::milliseconds> out;
  for (const auto& [delay, fn] : delayed_) out.push_back(delay);
  return out;
}

}  // namespace taviro::fakes
