#pragma once
// The editing record of one mapped area: the display's or the tablet's.
// The picture that goes with it is the painting view's.
#include <cstdint>
#include <memory>

#include "foundation/Geometry.h"
#include "mapping/BTDropBoundleArea.h"

namespace taviro {

struct ViewInfo {
  ViewInfo() = default;
  ViewInfo(ViewInfo&&) = delete;  // the tracker points into it

  Rect _monitorDropArea;  // the mapped area
  Rect _monitorRect;      // its frame: the display picture or the active surface
  std::int32_t _monitorDrop = kDropIdle;
  Point _monitorPoint;  // the pointer at the previous move step
  // Bound to the two rectangles above; replaced whenever the area is read
  // from the settings record.
  std::unique_ptr<BTDropBoundleArea> _dropBoundleArea;
  // A press inside the area began a whole-area move; the release ends it.
  // Only such a drag moves the area, never one that started elsewhere and
  // crossed it.
  bool grabbed = false;

  void rebindTracker() {
    _dropBoundleArea = std::make_unique<BTDropBoundleArea>(&_monitorDropArea, &_monitorRect);
  }
};

}  // namespace taviro
