#include "LoopQueue.h"

namespace taviro {

void LoopQueue::async(std::function<void()> work) {
  {
    std::lock_guard lock(mutex_);
    ready_.push_back(std::move(work));
  }
  changed_.notify_one();
}

void LoopQueue::after(std::chrono::milliseconds delay, std::function<void()> work) {
  {
    std::lock_guard lock(mutex_);
    timers_.emplace(Clock::now() + delay, std::move(work));
  }
  changed_.notify_one();
}

void LoopQueue::stop() {
  {
    std::lock_guard lock(mutex_);
    stopped_ = true;
  }
  changed_.notify_one();
}

void LoopQueue::run() {
  std::unique_lock lock(mutex_);
  while (!stopped_) {
    // Due timers join the ready work in the order they fall due.
    const auto now = Clock::now();
    while (!timers_.empty() && timers_.begin()->first <= now) {
      ready_.push_back(std::move(timers_.begin()->second));
      timers_.erase(timers_.begin());
    }
    if (!ready_.empty()) {
      std::function<void()> work = std::move(ready_.front());
      ready_.pop_front();
      lock.unlock();
      work();
      lock.lock();
      continue;
    }
    if (timers_.empty())
      changed_.wait(lock);
    else
      changed_.wait_until(lock, timers_.begin()->first);
  }
}

}  // namespace taviro
