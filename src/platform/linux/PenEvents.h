#pragma once
// Turns the driver's posted pointer and tablet events into the evdev events of
// a virtual pen, the way libinput expects a tablet to speak: BTN_TOOL_PEN for
// proximity, BTN_TOUCH for the tip, ABS_X/ABS_Y in desktop pixels,
// ABS_PRESSURE 0..65535, one SYN_REPORT per posting (two when a tip event
// brings the pen into range: it enters without pressure). libinput decides the tip
// from the pressure (down above 5 % of the range), so the pressure goes out
// with every tip change: 0 when the tip lifts, and never less than
// kTipPressureFloor while the tip is down, or a light press would not click.
// libinput takes a tablet that has never left proximity by itself for one
// that cannot, and then forces the pen out after every pause of about 50 ms:
// so before a new pen first enters proximity it enters and leaves once, in
// frames of their own, at the same spot.
//
// Pure: the state lives in PenState and nothing here touches a device.
#include <array>
#include <cstddef>
#include <cstdint>

#include "driver/HIDEventSystem.h"

namespace taviro::linux_input {

struct EvdevEvent {
  std::uint16_t type = 0;
  std::uint16_t code = 0;
  std::int32_t value = 0;
  friend bool operator==(const EvdevEvent&, const EvdevEvent&) = default;
};

// At most: the first entry's in/out pair (tool, x, y, SYN, tool, SYN), tool,
// x, y and SYN of an entry, then pressure, touch and SYN.
struct EvdevFrame {
  std::array<EvdevEvent, 16> events{};
  std::size_t count = 0;
  void add(std::uint16_t type, std::uint16_t code, std::int32_t value) {
    events[count++] = {type, code, value};
  }
  const EvdevEvent* begin() const { return events.data(); }
  const EvdevEvent* end() const { return events.data() + count; }
};

// The desktop the pen's absolute axes cover: the union of all displays in the
// top-left-origin global space, in pixels.
struct DesktopRange {
  int x = 0;
  int y = 0;
  int width = 1;
  int height = 1;
  friend bool operator==(const DesktopRange&, const DesktopRange&) = default;
};

// What the virtual pen's node currently shows.
struct PenState {
  bool announced = false;  // the in/out pair has gone out
  bool inProximity = false;
  bool tipDown = false;
  int x = -1;
  int y = -1;
  int pressure = 0;
};

inline constexpr int kMaxPressure = 65535;
inline constexpr int kTipPressureFloor = kMaxPressure * 6 / 100;

// The events one posting produces (empty when it changes nothing the pen
// shows; moves while out of proximity are dropped, since libinput ignores a
// tool that is not in proximity).
EvdevFrame translatePost(PenState& state, std::uint32_t type, IOGPoint location,
                         const NXEventData& data, const DesktopRange& desktop);

// Releases the tip and the tool (pressure 0): used when the device goes away.
EvdevFrame leaveProximity(PenState& state);

}  // namespace taviro::linux_input
