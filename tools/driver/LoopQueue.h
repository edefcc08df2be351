#pragma once
// The headless driver's main thread: a queue of work run in order, with
// delayed work, until stop() is called (from any thread).
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <mutex>

#include "foundation/MainQueue.h"

namespace taviro {

class LoopQueue : public MainQueue {
 public:
  void async(std::function<void()> work) override;
  void after(std::chrono::milliseconds delay, std::function<void()> work) override;
  // Runs queued and due work on the calling thread until stop().
  void run();
  void stop();

 private:
  using Clock = std::chrono::steady_clock;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<std::function<void()>> ready_;
  std::multimap<Clock::time_point, std::function<void()>> timers_;
  bool stopped_ = false;
};

}  // namespace taviro
