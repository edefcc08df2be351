#pragma once
// The display manager: keeps the target display (one display, or none for
// the whole desktop), the screen rectangle the tablet maps onto and the tablet
// rotation, follows display configuration changes, and maps every decoded
// tablet position onto the screen for the driver.
//
// Threads: the mapping runs on the driver thread for every report; the
// setters and the configuration handler run on the main thread. Every field
// is atomic or guarded.
#include <atomic>
#include <optional>

#include "display/DisplayServices.h"
#include "driver/TabletSettings.h"
#include "foundation/Geometry.h"
#include "foundation/Guarded.h"
#include "foundation/NotificationCenter.h"

namespace taviro {

class BTScreenManager {
 public:
  // Starts with the display at `settings.displayID` as its target (the whole
  // desktop when the index is past the display list), takes the tablet size
  // from `settings.tabletArea`, writes the target's bounds into
  // `settings.monitorArea`, and follows configuration changes posted on
  // `center`. All three must outlive the manager.
  BTScreenManager(const DisplayServices& displays, NotificationCenter& center,
                  TabletSettings& settings);
  ~BTScreenManager();
  BTScreenManager(const BTScreenManager&) = delete;
  BTScreenManager& operator=(const BTScreenManager&) = delete;

  // The shared driver's display manager, created on first use.
  static BTScreenManager& shared();

  std::optional<Display> bestScreenToUseAsTargetScreen() const;
  // None targets the whole desktop.
  void setTargetScreen(std::optional<Display> screen);
  std::optional<Display> targetScreen() const { return targetScreen_.load(); }
  void didChangeScreenParameters();

  void setRotation(double degrees);
  int rotation() const { return rotation_.load(); }
  Size tabletSize() const { return tabletSize_; }

  // (x, y, w, h) of the settings' screen area; see the source for the y flip.
  void setScreenMapping(Rect mapping);
  Rect screenMapping() const { return screenMapping_.load(); }
  Rect screenBounds() const { return screenBounds_.load(); }
  void setScreenBounds(Rect bounds) { screenBounds_.store(bounds); }

  // Driver thread only: it keeps that thread's copy of the screen mapping.
  Point mapTabletCoordinatesToDisplaySpaceWithPoint(Point p, const Rect& tabletMapping);

 private:
  const DisplayServices& displays_;
  NotificationCenter& center_;
  TabletSettings& settings_;
  NotificationCenter::Token observer_ = 0;
  std::atomic<int> rotation_{0};
  Size tabletSize_;
  Guarded<std::optional<Display>> targetScreen_;
  Guarded<Rect> screenMapping_;
  // The mapping thread's copy of screenMapping_: no lock per report.
  GuardedCopy<Rect> mappingThreadScreenMapping_;
  Guarded<Rect> screenBounds_;
};

}  // namespace taviro
