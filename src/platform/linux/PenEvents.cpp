#include "platform/linux/PenEvents.h"

#include <linux/input-event-codes.h>

#include <algorithm>

namespace taviro::linux_input {
namespace {

void setPosition(PenState& s, EvdevFrame& f, IOGPoint location, const DesktopRange& d) {
  const int x = std::clamp(location.x - d.x, 0, d.width - 1);
  const int y = std::clamp(location.y - d.y, 0, d.height - 1);
  if (x != s.x) f.add(EV_ABS, ABS_X, s.x = x);
  if (y != s.y) f.add(EV_ABS, ABS_Y, s.y = y);
}

void setPressure(PenState& s, EvdevFrame& f, int pressure) {
  if (pressure != s.pressure) f.add(EV_ABS, ABS_PRESSURE, s.pressure = pressure);
}

// The pressure the node shows for a posting while the tip is down.
int tipPressure(int posted) { return std::clamp(posted, kTipPressureFloor, kMaxPressure); }

// Enters proximity at `location` (the tool first, then the position).
void enterProximity(PenState& s, EvdevFrame& f, IOGPoint location, const DesktopRange& d) {
  if (s.inProximity) return;
  if (!s.announced) {
    s.announced = true;
    f.add(EV_KEY, BTN_TOOL_PEN, 1);
    setPosition(s, f, location, d);
    f.add(EV_SYN, SYN_REPORT, 0);
    f.add(EV_KEY, BTN_TOOL_PEN, 0);
    f.add(EV_SYN, SYN_REPORT, 0);
  }
  s.inProximity = true;
  f.add(EV_KEY, BTN_TOOL_PEN, 1);
  setPosition(s, f, location, d);
}

// A tip event while the pen is out of range: the pen first enters at the
// event's position in a frame of its own, with no pressure. libinput takes
// pressure seen on entering proximity for a worn tip's offset and would
// subtract it from every later stroke.
void enterBeforeTip(PenState& s, EvdevFrame& f, IOGPoint location, const DesktopRange& d) {
  if (s.inProximity) return;
  enterProximity(s, f, location, d);
  f.add(EV_SYN, SYN_REPORT, 0);
}

void exitProximity(PenState& s, EvdevFrame& f) {
  if (!s.inProximity) return;
  if (s.tipDown) {
    s.tipDown = false;
    f.add(EV_KEY, BTN_TOUCH, 0);
  }
  setPressure(s, f, 0);
  s.inProximity = false;
  f.add(EV_KEY, BTN_TOOL_PEN, 0);
}

void setTip(PenState& s, EvdevFrame& f, bool down, int pressure) {
  setPressure(s, f, down ? tipPressure(pressure) : 0);
  if (down != s.tipDown) {
    s.tipDown = down;
    f.add(EV_KEY, BTN_TOUCH, down ? 1 : 0);
  }
}

// A button event carries the pressure as 8 bits in the mouse record, and as
// 16 bits in its tablet point when the driver fills it.
int buttonPressure(const NXMouseData& mouse) {
  return mouse.tablet.point.pressure != 0 ? mouse.tablet.point.pressure : mouse.pressure * 257;
}

void finish(EvdevFrame& f) {
  if (f.count > 0) f.add(EV_SYN, SYN_REPORT, 0);
}

}  // namespace

EvdevFrame translatePost(PenState& s, std::uint32_t type, IOGPoint location,
                         const NXEventData& data, const DesktopRange& desktop) {
  EvdevFrame f;
  const bool proximityRecord =
      type == NX_TABLETPROXIMITY ||
      (type == NX_MOUSEMOVED && data.mouseMove.subType == NX_SUBTYPE_TABLET_PROXIMITY);
  if (proximityRecord) {
    const NXTabletProximityData& p =
        type == NX_TABLETPROXIMITY ? data.tablet.proximity : data.mouseMove.tablet.proximity;
    if (p.enterProximity) {
      enterProximity(s, f, location, desktop);
      setPressure(s, f, 0);
    } else {
      exitProximity(s, f);
    }
    finish(f);
    return f;
  }
  switch (type) {
    case NX_MOUSEMOVED:
      if (!s.inProximity) break;
      setPosition(s, f, location, desktop);
      if (s.tipDown) setPressure(s, f, tipPressure(data.mouseMove.tablet.point.pressure));
      break;
    case NX_LMOUSEDRAGGED:
      enterBeforeTip(s, f, location, desktop);
      setPosition(s, f, location, desktop);
      setTip(s, f, true, data.mouseMove.tablet.point.pressure);
      break;
    case NX_LMOUSEDOWN:
      enterBeforeTip(s, f, location, desktop);
      setPosition(s, f, location, desktop);
      setTip(s, f, true, buttonPressure(data.mouse));
      break;
    case NX_LMOUSEUP:
      if (!s.inProximity) break;
      setPosition(s, f, location, desktop);
      setTip(s, f, false, 0);
      break;
    default: break;
  }
  finish(f);
  return f;
}

EvdevFrame leaveProximity(PenState& s) {
  EvdevFrame f;
  exitProximity(s, f);
  finish(f);
  return f;
}

}  // namespace taviro::linux_input
