#pragma once
// The main queue realised on Qt's event loop: work queued from any thread runs
// on the thread of the application object, in the order it was queued.
#include <QObject>

#include "foundation/MainQueue.h"

namespace taviro {

class QtMainQueue final : public MainQueue {
 public:
  // `context` lives on the main thread (the application object by default);
  // work still queued when it is destroyed is dropped.
  explicit QtMainQueue(QObject* context = nullptr);

  void async(std::function<void()> work) override;
  void after(std::chrono::milliseconds delay, std::function<void()> work) override;

 private:
  QObject* context_;
};

}  // namespace taviro
