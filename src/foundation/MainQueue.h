#pragma once
// The main thread's queue: work handed over from other threads runs there, in
// the order it was queued. The application's event loop realises it; tests and
// the replay tool drain a manual queue.
#include <chrono>
#include <functional>

namespace taviro {

class MainQueue {
 public:
  virtual ~MainQueue() = default;
  virtual void async(std::function<void()> work) = 0;
  virtual void after(std::chrono::milliseconds delay, std::function<void()> work) = 0;
};

}  // namespace taviro
