#pragma once
// The mapping editor's fixed geometry, in the view's own coordinates (points,
// origin at the bottom-left, y upwards): where the tablet picture and the
// tablet's active surface lie for each rotation, the strip kept for the
// tablet below the display picture, the edge bands and the smallest area.
#include <array>
#include <cstdint>

#include "foundation/Geometry.h"

namespace taviro {

// By rotation index: 0 = 0°, 1 = 90°, 2 = 180°, 3 = 270°. The express-key
// column sits left of the surface at 0° and turns with the tablet.
inline constexpr std::array<Rect, 4> kTabletRects = {
    Rect(98.60000562667847, 55.1796875, 185, 123.30859375),
    Rect(118.60000562667847, 34.1796875, 123.30859375, 185),
    Rect(78.60000562667847, 55.1796875, 185, 123.30859375),
    Rect(118.60000562667847, 54.1796875, 123.30859375, 185),
};
inline constexpr std::array<Rect, 4> kTabletImagesRects = {
    Rect(61.60000562667847, 40, 236, 153),
    Rect(101.60000562667847, 20, 153, 236),
    Rect(61.60000562667847, 40, 236, 153),
    Rect(101.60000562667847, 20, 153, 236),
};
// The tablet pictures' resource names, by rotation index.
inline constexpr std::array<const char*, 4> kTabletImages = {"tablet-0", "tablet-90", "tablet-180",
                                                             "tablet-270"};

// The display picture lies above this height; below it is the tablet's.
inline constexpr double kTabletStripHeight = 270.0;
// Width of the band along each edge of an area that grabs that edge.
inline constexpr double kEdgeBandWidth = 5.0;
// No pointer edit makes an area narrower or lower than this: the mapping
// divides by the area's size, and with both bands apart each edge can still
// be grabbed.
inline constexpr double kMinimumAreaSide = 2 * kEdgeBandWidth;

// Hit testing as the toolkit does it: the lower and left edges are inside,
// the upper and right ones are not.
inline bool pointInRect(Point p, const Rect& r) {
  return r.minX() <= p.x && p.x < r.maxX() && r.minY() <= p.y && p.y < r.maxY();
}

// `inner` lies wholly inside `outer`; touching edges count as inside, and so
// does an edge off by rounding (an area computed edge by edge may end a few
// ulps past the frame it fills).
inline bool containsRect(const Rect& outer, const Rect& inner) {
  constexpr double e = 1e-9;
  return outer.minX() - e <= inner.minX() && inner.maxX() <= outer.maxX() + e &&
         outer.minY() - e <= inner.minY() && inner.maxY() <= outer.maxY() + e;
}

}  // namespace taviro
