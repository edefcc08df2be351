#include "platform/qt/QtDisplayServices.h"

#include <QCursor>
#include <QGuiApplication>
#include <QThread>

#include "display/ScreenGeometry.h"
#include "foundation/NotificationCenter.h"

namespace taviro {

QList<QScreen*> orderedScreens() {
  QScreen* primary = QGuiApplication::primaryScreen();
  QList<QScreen*> ordered;
  if (primary) ordered << primary;
  for (QScreen* s : QGuiApplication::screens()) {
    if (s != primary && ordered.size() < qsizetype(kMaxDisplays)) ordered << s;
  }
  return ordered;
}

namespace {

// The display list of screens in display-list order: bounds relative to the
// first (primary) screen's top-left, frames from them. A screen with the same
// geometry as an earlier one mirrors it (Qt shows mirrored outputs that way).
std::vector<Display> displaysForScreens(const QList<QScreen*>& ordered,
                                        const std::function<DisplayID(const QScreen*)>& idOf) {
  if (ordered.isEmpty()) return {};
  const QPoint origin = ordered.front()->geometry().topLeft();
  std::vector<Rect> bounds;
  for (const QScreen* screen : ordered) {
    const QRect g = screen->geometry().translated(-origin);
    bounds.push_back(Rect(g.x(), g.y(), g.width(), g.height()));
  }
  std::vector<Display> displays = displaysFromBounds(bounds);
  for (qsizetype i = 0; i < ordered.size(); ++i) {
    Display& d = displays[std::size_t(i)];
    d.id = idOf(ordered[i]);
    // Screens of separate X screens share coordinates without mirroring:
    // only a sibling on the same desktop can be a mirror.
    for (qsizetype j = 0; j < i; ++j) {
      const Display& earlier = displays[std::size_t(j)];
      if (earlier.bounds == d.bounds && !earlier.mirrors() &&
          ordered[i]->virtualSiblings().contains(ordered[j])) {
        d.mirrorOf = earlier.id;
        break;
      }
    }
  }
  return displays;
}

QList<QtDisplayServices*>& instances() {
  static QList<QtDisplayServices*> all;
  return all;
}

}  // namespace

QtDisplayServices::QtDisplayServices(QObject* parent) : QObject(parent) {
  instances().append(this);
  for (QScreen* screen : QGuiApplication::screens()) watch(screen);
  connect(qGuiApp, &QGuiApplication::screenAdded, this, [this](QScreen* screen) {
    watch(screen);
    refresh();
  });
  connect(qGuiApp, &QGuiApplication::screenRemoved, this, &QtDisplayServices::refresh,
          Qt::QueuedConnection);
  connect(qGuiApp, &QGuiApplication::primaryScreenChanged, this, &QtDisplayServices::refresh);
  refresh();
}

QtDisplayServices::~QtDisplayServices() { instances().removeOne(this); }

const QtDisplayServices* QtDisplayServices::instance() {
  return instances().isEmpty() ? nullptr : instances().front();
}

void QtDisplayServices::watch(QScreen* screen) {
  connect(screen, &QScreen::geometryChanged, this, &QtDisplayServices::refresh);
}

DisplayID QtDisplayServices::idOf(const QScreen* screen) {
  auto [it, inserted] = ids_.try_emplace(screen, nextId_);
  if (inserted) ++nextId_;
  return it->second;
}

void QtDisplayServices::refresh() {
  const QList<QScreen*> screens = orderedScreens();
  std::vector<Display> displays =
      displaysForScreens(screens, [this](const QScreen* s) { return idOf(s); });
  std::map<DisplayID, QPointer<QScreen>> byId;
  for (QScreen* s : screens) byId[ids_[s]] = s;
  {
    std::lock_guard lock(mutex_);
    displays_ = std::move(displays);
    screens_ = std::move(byId);
  }
  location();  // a fresh place for readers on other threads
  NotificationCenter::defaultCenter().post(kApplicationDidChangeScreenParametersNotification);
}

std::vector<Display> QtDisplayServices::activeDisplays() const {
  std::lock_guard lock(mutex_);
  return displays_;
}

std::optional<Display> QtDisplayServices::mainDisplay() const {
  std::lock_guard lock(mutex_);
  if (displays_.empty()) return std::nullopt;
  return displays_.front();
}

Point QtDisplayServices::location() const {
  std::lock_guard lock(mutex_);
  if (QThread::currentThread() == thread() && !displays_.empty()) {
    const QPoint p = QCursor::pos();
    const QScreen* primary = QGuiApplication::primaryScreen();
    const QPoint origin = primary ? primary->geometry().topLeft() : QPoint();
    lastPointer_ = Point{double(p.x() - origin.x()), double(p.y() - origin.y())};
  }
  return lastPointer_;
}

QScreen* QtDisplayServices::screenFor(DisplayID id) const {
  std::lock_guard lock(mutex_);
  const auto it = screens_.find(id);
  return it == screens_.end() ? nullptr : it->second.data();
}

}  // namespace taviro
