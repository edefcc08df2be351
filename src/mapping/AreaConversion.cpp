#include "mapping/AreaConversion.h"

#include <algorithm>
#include <cmath>

#include "driver/Truncate.h"
#include "mapping/MappingGeometry.h"

namespace taviro {
namespace {

Rect rectFromEdges(double left, double bottom, double right, double top) {
  return Rect(left, bottom, right - left, top - bottom);
}

}  // namespace

std::int32_t nearestInt32(double v) { return truncToInt32(std::round(v)); }

Rect tabletAreaFromSettings(const IntArea& s, const Rect& frame, const Size& tablet) {
  const double kx = tablet.width / frame.size.width;
  const double ky = tablet.height / frame.size.height;
  // The stored offset is measured from the tablet's top edge.
  return Rect(frame.minX() + s.offsetX / kx,
              frame.minY() + (tablet.height - s.offsetY - s.height) / ky, s.width / kx,
              s.height / ky);
}

IntArea tabletSettingsFromArea(const Rect& area, const Rect& frame, const Size& tablet) {
  const double kx = tablet.width / frame.size.width;
  const double ky = tablet.height / frame.size.height;
  IntArea s;
  s.width = nearestInt32(kx * area.size.width);
  s.height = nearestInt32(ky * area.size.height);
  s.offsetX = nearestInt32(kx * (area.minX() - frame.minX()));
  s.offsetY = nearestInt32(tablet.height - ky * (area.minY() - frame.minY()) - s.height);
  return s;
}

std::optional<Rect> displayFrame(const Rect& visible, const Rect& monitorArea) {
  const double availableHeight = visible.size.height - kTabletStripHeight;
  if (monitorArea.isEmpty() || availableHeight <= 0 || visible.size.width <= 0) return std::nullopt;
  const double s = std::max(monitorArea.size.width / visible.size.width,
                            monitorArea.size.height / availableHeight);
  const double w = monitorArea.size.width / s;
  const double h = monitorArea.size.height / s;
  return Rect(visible.size.width * 0.5 - w * 0.5, visible.minY() + kTabletStripHeight, w, h);
}

Rect screenAreaFromSettings(const IntArea& s, const Rect& frame, const Rect& monitorArea) {
  const double sx = monitorArea.size.width / frame.size.width;
  const double sy = monitorArea.size.height / frame.size.height;
  return Rect(frame.minX() + (s.offsetX - monitorArea.minX()) / sx,
              frame.minY() + (s.offsetY - monitorArea.minY()) / sy, s.width / sx, s.height / sy);
}

IntArea screenSettingsFromArea(const Rect& area, const Rect& frame, const Rect& monitorArea) {
  const double sx = monitorArea.size.width / frame.size.width;
  const double sy = monitorArea.size.height / frame.size.height;
  IntArea s;
  s.width = nearestInt32(sx * area.size.width);
  s.height = nearestInt32(sy * area.size.height);
  s.offsetX = nearestInt32(monitorArea.minX() + sx * (area.minX() - frame.minX()));
  s.offsetY = nearestInt32(monitorArea.minY() + sy * (area.minY() - frame.minY()));
  return s;
}

TabletOffset tabletOffsetOf(const Rect& area, const Rect& frame) {
  return TabletOffset{(area.minX() - frame.minX()) / frame.size.width,
                      (area.minY() - frame.minY()) / frame.size.height,
                      (area.maxX() - frame.minX()) / frame.size.width,
                      (area.maxY() - frame.minY()) / frame.size.height};
}

std::optional<Rect> areaForTabletOffset(const Rect& f, const Rect& frame) {
  // Typed fractions come through single precision: an edge that overshoots
  // the frame by far less than a tablet unit is put back on it.
  constexpr double kSlack = 1e-3;
  const double left = frame.minX() + f.minX() * frame.size.width;
  const double bottom = frame.minY() + f.minY() * frame.size.height;
  const double right = left + f.size.width * frame.size.width;
  const double top = bottom + f.size.height * frame.size.height;
  if (left < frame.minX() - kSlack || bottom < frame.minY() - kSlack ||
      right > frame.maxX() + kSlack || top > frame.maxY() + kSlack) {
    return std::nullopt;
  }
  const Rect area = rectFromEdges(std::max(left, frame.minX()), std::max(bottom, frame.minY()),
                                  std::min(right, frame.maxX()), std::min(top, frame.maxY()));
  if (area.size.width < kMinimumAreaSide || area.size.height < kMinimumAreaSide)
    return std::nullopt;
  return area;
}

std::optional<Size> forceAspectFactors(bool full, const Size& screen, const Rect& frame,
                                       const Size& tablet) {
  Size k{tablet.width / frame.size.width, tablet.height / frame.size.height};
  if (full) return k;
  if (!(screen.width > 0 && screen.height > 0)) return std::nullopt;
  k.height *= (frame.size.width / frame.size.height) / (screen.width / screen.height);
  return k;
}

Rect resizedTabletArea(const Size& k, const Rect& frame, const Size& tablet) {
  const Size f = frame.size;
  Size n{f.width * (k.width * f.width / tablet.width),
         f.height * (k.height * f.height / tablet.height)};
  if (n.height > f.height) {
    const double t = n.height / f.height;
    n.width = n.width * (n.width / f.width) / t;
    n.height = n.height / t;
  }
  return Rect(frame.minX() + (f.width - n.width) * 0.5, frame.minY() + (f.height - n.height) * 0.5,
              n.width, n.height);
}

}  // namespace taviro
