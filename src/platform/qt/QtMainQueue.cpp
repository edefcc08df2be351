#include "platform/qt/QtMainQueue.h"

#include <QCoreApplication>
#include <QTimer>

namespace taviro {

QtMainQueue::QtMainQueue(QObject* context)
    : context_(context ? context : QCoreApplication::instance()) {}

void QtMainQueue::async(std::function<void()> work) {
  // A queued invocation even on the main thread: the work runs on a later pass
  // of the event loop, never inside the caller.
  QMetaObject::invokeMethod(context_, std::move(work), Qt::QueuedConnection);
}

void QtMainQueue::after(std::chrono::milliseconds delay, std::function<void()> work) {
  // Timers belong to the thread that starts them, so start this one there.
  QMetaObject::invokeMethod(
      context_,
      [context = context_, delay, work = std::move(work)]() mutable {
        QTimer::singleShot(delay, context, std::move(work));
      },
      Qt::QueuedConnection);
}

}  // namespace taviro
