#pragma once
// Display geometry queries over the system's display list, and the
// tablet-to-screen mapping as a pure function.
#include <cstddef>
#include <optional>
#include <vector>

#include "display/DisplayServices.h"
#include "foundation/Geometry.h"

namespace taviro {

// A display's frame (bottom-left-origin global space).
inline Rect screenSize(const Display& display) { return display.frame; }

// Displays from top-left-origin bounds, the first the main display: ids
// count from 1, each frame is its bounds turned into the bottom-left-origin
// space (origin at the main display's bottom-left, y up), and none mirrors.
std::vector<Display> displaysFromBounds(const std::vector<Rect>& bounds);

// The main display's bounds (top-left-origin); empty when there is none.
Rect mainScreenSize(const DisplayServices& displays);

// Union of the bounds of all active displays; Rect::null() when the list is
// empty or cannot be read.
Rect allScreenSize(const DisplayServices& displays);

// The element at `index`, or none when the index is not below the count.
template <typename T>
std::optional<T> yk_objectAtIndex(const std::vector<T>& items, std::size_t index) {
  if (index >= items.size()) return std::nullopt;
  return items[index];
}

// The element at `index`, or the first element when the index is not below
// the count; none only for an empty list.
template <typename T>
std::optional<T> yk_objectAtIndexForScreen(const std::vector<T>& items, std::size_t index) {
  if (items.empty()) return std::nullopt;
  return items[index < items.size() ? index : 0];
}

// Rotates a tablet point p by `rotation` degrees (0, 90, 180, 270; anything
// else acts as 0) within a tablet of `tabletSize`, clamps it into the tablet
// rectangle m, and scales it into `screenMapping`. A tablet rectangle of zero
// width or height maps onto the screen rectangle's origin on that axis.
Point mapTabletToScreen(Point p, const Rect& m, Size tabletSize, const Rect& screenMapping,
                        int rotation);

}  // namespace taviro
