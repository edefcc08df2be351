#pragma once
// The driver's record of integer settings, display bounds and tablet size.
// The driver holds it by value (`tabletSettings`); the display manager writes
// `monitorArea`, the mapping editor reads and writes it in place through a
// pointer. The driver thread reads `pressureLevels`, `mouseMode` and
// `tabletKeys` for every report while the main thread writes, so every field
// is atomic or guarded; assignment and reading keep their plain syntax
// (`s->screenWidth = 800; int w = s->screenWidth;`), rectangles use
// load()/store().
#include <atomic>
#include <cstdint>

#include "foundation/Geometry.h"
#include "foundation/Guarded.h"

namespace taviro {

inline constexpr std::int32_t kTabletVendorID = 0x6161;
inline constexpr std::int32_t kTabletProductID = 0x4D15;
inline constexpr float kTabletPressureLevels = 8192.0f;
inline constexpr double kTabletUnits = 65535.0;  // decoded positions run 0..65535

struct _settings {
  std::atomic<std::int32_t> displayID{0};
  std::atomic<std::int32_t> tabletWidth{0};
  std::atomic<std::int32_t> tabletHeight{0};
  std::atomic<std::int32_t> tabletOffsetX{0};
  std::atomic<std::int32_t> tabletOffestY{0};
  std::atomic<std::int32_t> compensation{0};
  std::atomic<std::int32_t> average{0};
  std::atomic<float> pressureLevels{kTabletPressureLevels};
  std::atomic<std::int32_t> screenWidth{0};
  std::atomic<std::int32_t> screenHeight{0};
  std::atomic<std::int32_t> screenOffsetX{0};
  std::atomic<std::int32_t> screenOffsetY{0};
  std::atomic<std::int32_t> vendorID{kTabletVendorID};
  std::atomic<std::int32_t> productID{kTabletProductID};
  std::atomic<std::int32_t> activeProfile{0};
  std::atomic<bool> tabletKeys{true};
  std::atomic<std::int32_t> noOfTabletKeys{8};
  std::atomic<bool> mouseMode{false};
  Guarded<Rect> monitorArea;
  Guarded<Rect> tabletArea{Rect(0, 0, kTabletUnits, kTabletUnits)};
  std::atomic<std::int32_t> rotation{0};
};

using TabletSettings = _settings;

}  // namespace taviro
