#pragma once
// The editor's formulas between the settings record's integer areas and the
// view's rectangles, and the tablet area's shapes. Pure functions: the
// editor reads the record, calls these, and writes the record.
//
// Device values: the screen area in the toolkit's global frame coordinates
// (y upwards, like `monitorArea`); the tablet area in tablet units with y
// measured downwards from the tablet's top edge. View rectangles: points,
// origin bottom-left, y upwards.
#include <cstdint>
#include <optional>

#include "driver/TabletSettings.h"
#include "foundation/Geometry.h"

namespace taviro {

// The four integers of an area in the settings record.
struct IntArea {
  std::int32_t offsetX = 0;
  std::int32_t offsetY = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;
  friend bool operator==(const IntArea&, const IntArea&) = default;
};

// The four fields of one area in the settings record.
struct AreaFields {
  std::atomic<std::int32_t> _settings::*offsetX;
  std::atomic<std::int32_t> _settings::*offsetY;
  std::atomic<std::int32_t> _settings::*width;
  std::atomic<std::int32_t> _settings::*height;
};
inline constexpr AreaFields kTabletFields{&_settings::tabletOffsetX, &_settings::tabletOffestY,
                                          &_settings::tabletWidth, &_settings::tabletHeight};
inline constexpr AreaFields kScreenFields{&_settings::screenOffsetX, &_settings::screenOffsetY,
                                          &_settings::screenWidth, &_settings::screenHeight};

inline IntArea stored(const _settings& s, const AreaFields& f) {
  return IntArea{s.*f.offsetX, s.*f.offsetY, s.*f.width, s.*f.height};
}

inline void store(_settings& s, const AreaFields& f, const IntArea& a) {
  s.*f.width = a.width;
  s.*f.height = a.height;
  s.*f.offsetX = a.offsetX;
  s.*f.offsetY = a.offsetY;
}

// The tablet area as fractions of its frame: left and right from the
// frame's left edge, up and down from its lower edge.
struct TabletOffset {
  double left = 0;
  double up = 0;
  double right = 0;
  double down = 0;
  friend bool operator==(const TabletOffset&, const TabletOffset&) = default;
};

// Device values are written back as the nearest integer: a stored area read
// into the view and written straight back comes out unchanged (truncation
// would lose a unit on about half of all values, at every reload).
std::int32_t nearestInt32(double v);

// The tablet area in the view: `frame` is the active surface, `tablet` the
// whole tablet in units.
Rect tabletAreaFromSettings(const IntArea& stored, const Rect& frame, const Size& tablet);
IntArea tabletSettingsFromArea(const Rect& area, const Rect& frame, const Size& tablet);

// Where the display picture goes inside `visible`: the display's shape,
// scaled to fit above the tablet strip and centred across. None when the
// display has no size or the view has no room above the strip.
std::optional<Rect> displayFrame(const Rect& visible, const Rect& monitorArea);
Rect screenAreaFromSettings(const IntArea& stored, const Rect& frame, const Rect& monitorArea);
IntArea screenSettingsFromArea(const Rect& area, const Rect& frame, const Rect& monitorArea);

TabletOffset tabletOffsetOf(const Rect& area, const Rect& frame);
// The area that (left, up, right − left, down − up) in `fractions` stands
// for. None unless it lies inside the frame and keeps the smallest size.
std::optional<Rect> areaForTabletOffset(const Rect& fractions, const Rect& frame);

// The scale factors (tablet units per point) of the full-tablet (`full`)
// and keep-aspect buttons: the whole tablet, or the screen area's aspect.
// None for keep-aspect while the screen area has no size.
std::optional<Size> forceAspectFactors(bool full, const Size& screen, const Rect& frame,
                                       const Size& tablet);
// The tablet area those factors give, centred in the frame: the whole
// surface for the full tablet; for keep-aspect the surface's full width at
// that aspect, or the same shape scaled down to the surface's full height.
Rect resizedTabletArea(const Size& factors, const Rect& frame, const Size& tablet);

}  // namespace taviro
