#include "display/ScreenGeometry.h"

#include <algorithm>

namespace taviro {

std::vector<Display> displaysFromBounds(const std::vector<Rect>& bounds) {
  std::vector<Display> out;
  const double mainHeight = bounds.empty() ? 0 : bounds.front().size.height;
  DisplayID id = 1;
  for (const Rect& b : bounds) {
    const Rect frame(b.minX(), mainHeight - b.maxY(), b.size.width, b.size.height);
    out.push_back({id++, b, frame, 0});
  }
  return out;
}

Rect mainScreenSize(const DisplayServices& displays) {
  const std::optional<Display> main = displays.mainDisplay();
  return main ? main->bounds : Rect();
}

Rect allScreenSize(const DisplayServices& displays) {
  const std::vector<Display> list = displays.activeDisplays();
  Rect all = Rect::null();
  const std::size_t count = std::min(list.size(), kMaxDisplays);
  for (std::size_t i = 0; i < count; ++i) all = unionRect(all, list[i].bounds);
  return all;
}

namespace {

Point rotate(Point p, Size tablet, int rotation) {
  switch (rotation) {
    case 90: return {tablet.width - p.y, p.x};
    case 180: return {tablet.width - p.x, tablet.height - p.y};
    case 270: return {p.y, tablet.height - p.x};
    default: return p;
  }
}

// Clamps v into [origin, origin + extent - 1] (the lower bound wins when the
// extent is below one) and scales it into the screen span.
double clampAndScale(double v, double origin, double extent, double screenOrigin,
                     double screenExtent) {
  v = std::max(v, origin);
  v = std::min(v, origin + extent - 1);
  // A zero-sized tablet area would divide by zero; pin to the screen origin.
  if (extent == 0) return screenOrigin;
  return screenOrigin + (screenExtent / extent) * (v - origin);
}

}  // namespace

Point mapTabletToScreen(Point p, const Rect& m, Size tabletSize, const Rect& screenMapping,
                        int rotation) {
  const Point r = rotate(p, tabletSize, rotation);
  return {clampAndScale(r.x, m.origin.x, m.size.width, screenMapping.origin.x,
                        screenMapping.size.width),
          clampAndScale(r.y, m.origin.y, m.size.height, screenMapping.origin.y,
                        screenMapping.size.height)};
}

}  // namespace taviro
