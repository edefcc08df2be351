#pragma once
// What the driver and the panel need of the display configuration, and where
// the pointer is. Two global spaces meet here: display bounds are in the
// top-left-origin space of pointer events (origin at the main display's
// top-left, y down); display frames are in the toolkit's bottom-left-origin
// space (origin at the main display's bottom-left, y up).
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "foundation/Geometry.h"

namespace taviro {

using DisplayID = std::uint32_t;

inline constexpr std::size_t kMaxDisplays = 10;

struct Display {
  DisplayID id = 0;  // stable while the display stays connected
  Rect bounds;       // top-left-origin global bounds
  Rect frame;        // bottom-left-origin frame
  DisplayID mirrorOf = 0;  // the display this one mirrors, 0 when none
  bool mirrors() const { return mirrorOf != 0; }
  friend bool operator==(const Display&, const Display&) = default;
};

// The toolkit posts this (on the main thread, to the default notification
// centre) after the display configuration changed; the display manager
// follows it.
inline constexpr const char* kApplicationDidChangeScreenParametersNotification =
    "NSApplicationDidChangeScreenParametersNotification";

// Answers from any thread. A realisation tied to the user-interface thread
// answers from a snapshot it refreshes there before posting the notification
// above.
class DisplayServices {
 public:
  virtual ~DisplayServices() = default;
  // The system's display list (at most kMaxDisplays), the main display first.
  // Empty when it cannot be read.
  virtual std::vector<Display> activeDisplays() const = 0;
  // The main display; none when there is no display at all.
  virtual std::optional<Display> mainDisplay() const = 0;
};

// Where the pointer is now, in the top-left-origin global space.
class PointerLocation {
 public:
  virtual ~PointerLocation() = default;
  virtual Point location() const = 0;
};

}  // namespace taviro
