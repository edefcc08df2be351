#include "display/BTScreenManager.h"

#include <algorithm>

#include "display/ScreenGeometry.h"
#include "foundation/Log.h"

namespace taviro {

BTScreenManager::BTScreenManager(const DisplayServices& displays, NotificationCenter& center,
                                 TabletSettings& settings)
    : displays_(displays), center_(center), settings_(settings) {
  observer_ = center_.addObserver(kApplicationDidChangeScreenParametersNotification,
                                  [this](const Notification&) { didChangeScreenParameters(); });
  // The stored display choice shapes the mapping from the start: the display
  // at the stored index, the whole desktop when the index is past the list.
  const int index = settings_.displayID;
  if (index < 0) {
    setTargetScreen(bestScreenToUseAsTargetScreen());
  } else {
    setTargetScreen(yk_objectAtIndex(displays_.activeDisplays(), static_cast<std::size_t>(index)));
  }
  tabletSize_ = settings_.tabletArea.load().size;
}

BTScreenManager::~BTScreenManager() { center_.removeObserver(observer_); }

std::optional<Display> BTScreenManager::bestScreenToUseAsTargetScreen() const {
  return displays_.mainDisplay();
}

void BTScreenManager::setTargetScreen(std::optional<Display> screen) {
  targetScreen_.store(screen);
  const Rect bounds = screen ? screenSize(*screen) : allScreenSize(displays_);
  screenBounds_.store(bounds);
  settings_.monitorArea.store(bounds);
}

void BTScreenManager::didChangeScreenParameters() {
  const std::optional<Display> target = targetScreen_.load();
  if (!target) return;
  const std::vector<Display> list = displays_.activeDisplays();
  const bool present = std::any_of(list.begin(), list.end(),
                                   [&](const Display& d) { return d.id == target->id; });
  if (!present) setTargetScreen(bestScreenToUseAsTargetScreen());
}

void BTScreenManager::setRotation(double degrees) {
  // Out-of-range values act as no rotation, like any other unknown angle.
  const bool representable = degrees > -2147483648.0 && degrees < 2147483648.0;
  rotation_ = representable ? static_cast<int>(degrees) : 0;
}

void BTScreenManager::setScreenMapping(Rect mapping) {
  // The settings give the area with a bottom-left origin; unless the target
  // spans the whole desktop, turn it into the top-left origin of events.
  if (!(screenBounds_.load() == allScreenSize(displays_))) {
    const double mainHeight = mainScreenSize(displays_).size.height;
    mapping.origin.y = mainHeight - (mapping.origin.y + mapping.size.height);
  }
  screenMapping_.store(mapping);
  logBare("Updated Screen Mapping: %.2f, %.2f - %.2f, %.2f\n", mapping.origin.x, mapping.origin.y,
          mapping.size.width, mapping.size.height);
}

Point BTScreenManager::mapTabletCoordinatesToDisplaySpaceWithPoint(Point p,
                                                                   const Rect& tabletMapping) {
  return mapTabletToScreen(p, tabletMapping, tabletSize_,
                           mappingThreadScreenMapping_.refresh(screenMapping_), rotation_);
}

}  // namespace taviro
