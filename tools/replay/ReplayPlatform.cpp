#include "ReplayPlatform.h"

namespace taviro::replay {

void PrintingEventSystem::post(std::uint32_t type, IOGPoint location, const NXEventData& data,
                               std::uint32_t /*options*/) {
  const int x = location.x;
  const int y = location.y;
  switch (type) {
    case NX_LMOUSEDOWN:
    case NX_LMOUSEUP:
      std::fprintf(out_, "post type=%u x=%d y=%d button=%d eventNum=%d pressure=%d\n", type, x, y,
                   data.mouse.buttonNumber, data.mouse.eventNum, data.mouse.pressure);
      break;
    case NX_MOUSEMOVED:
    case NX_LMOUSEDRAGGED:
      if (data.mouseMove.subType == NX_SUBTYPE_TABLET_PROXIMITY) {
        std::fprintf(out_, "post type=%u x=%d y=%d proximity enter=%d\n", type, x, y,
                     data.mouseMove.tablet.proximity.enterProximity);
      } else {
        std::fprintf(out_, "post type=%u x=%d y=%d dx=%d dy=%d pressure=%d\n", type, x, y,
                     data.mouseMove.dx, data.mouseMove.dy, data.mouseMove.tablet.point.pressure);
      }
      break;
    case NX_TABLETPROXIMITY:
      std::fprintf(out_, "post type=%u x=%d y=%d enter=%d\n", type, x, y,
                   data.tablet.proximity.enterProximity);
      break;
    default:
      std::fprintf(out_, "post type=%u x=%d y=%d\n", type, x, y);
      break;
  }
}

void PrintingShortcutRunner::sendKeyboard(const std::string& command, bool down, int key) {
  std::fprintf(out_, "shortcut key=%d down=%d command=\"%s\"\n", key, down ? 1 : 0, command.c_str());
  if (next) next->sendKeyboard(command, down, key);
}

void DrainedMainQueue::drain() {
  while (!queue_.empty()) {
    std::function<void()> work = std::move(queue_.front());
    queue_.pop_front();
    work();
  }
}

ReplayPlatform::ReplayPlatform(std::FILE* out, const std::vector<Rect>& displayBounds, Point at)
    : events(out), runner(out), displays(displayBounds), pointer(at) {}

DriverPlatform ReplayPlatform::platform() {
  DriverPlatform p;
  p.defaults = &defaults;
  p.eventSystem = &events;
  p.displays = &displays;
  p.pointer = &pointer;
  p.mainQueue = &mainQueue;
  p.notifications = &notifications;
  p.shortcutLookup = shortcutLookup;
  p.shortcutRunner = &runner;
  p.shortcutStore = shortcutStore;
  return p;
}

}  // namespace taviro::replay
