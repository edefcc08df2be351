#pragma once
// The display services on Qt's screens. The list is a snapshot taken on the
// main thread whenever Qt reports a screen change (so other threads read it
// without touching Qt); after each change the toolkit notification goes out on
// the default notification centre.
#include <QObject>
#include <QPointer>
#include <QScreen>
#include <map>
#include <mutex>

#include "display/DisplayServices.h"

namespace taviro {

// Qt's screens in display-list order: the primary screen first, then the
// others in Qt's order; at most kMaxDisplays.
QList<QScreen*> orderedScreens();

class QtDisplayServices final : public QObject, public DisplayServices, public PointerLocation {
  Q_OBJECT
 public:
  explicit QtDisplayServices(QObject* parent = nullptr);
  ~QtDisplayServices() override;

  // The oldest instance still alive (the application's), for views that
  // need display pictures; null when there is none. Main thread.
  static const QtDisplayServices* instance();

  std::vector<Display> activeDisplays() const override;
  std::optional<Display> mainDisplay() const override;
  // The pointer's place. Read live on the main thread; other threads get the
  // last place read there (at the latest when the displays last changed).
  Point location() const override;

  // The screen of a display of the current list, or null.
  QScreen* screenFor(DisplayID id) const;

 private:
  void watch(QScreen* screen);
  void refresh();
  DisplayID idOf(const QScreen* screen);

  mutable std::mutex mutex_;
  std::vector<Display> displays_;
  std::map<DisplayID, QPointer<QScreen>> screens_;
  std::map<const QScreen*, DisplayID> ids_;
  DisplayID nextId_ = 1;
  mutable Point lastPointer_;
};

}  // namespace taviro
