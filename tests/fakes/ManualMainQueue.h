#pragma once
// A main queue that runs its work only when told to: tests drain it at the
// points they choose. Safe to fill from any thread.
#include <deque>
#include <functional>
#include <mutex>
#include <vector>

#include "foundation/MainQueue.h"

namespace taviro::fakes {

class ManualMainQueue : public MainQueue {
 public:
  void async(std::function<void()> work) override;
  void after(std::chrono::milliseconds delay, std::function<void()> work) override;

  // Runs queued work (and work it queues) in order.
  void drain();
  // Runs the delayed work, in the order it was queued.
  void runDelayed();
  std::size_t pending() const;
  std::vector<std::chrono::milliseconds> delays() const;

 private:
  mutable std::mutex mutex_;
  std::deque<std::function<void()>> queue_;
  std::vector<std::pair<std::chrono::milliseconds, std::function<void()>>> delayed_;
};

}  // namespace taviro::fakes
