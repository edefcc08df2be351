#include "driver/BTDriverManager.h"
#include "driver/Truncate.h"

namespace taviro {

void BTDriverManager::initializeStylus() {
  // Fields not set here (ioPos, motion, pressure, old, ...) keep their values,
  // so that after a re-initialisation the next move's relative motion is
  // measured from where the pen last was.
  StylusState s = stylus_;
  s.off_tablet = true;
  s.pen_near = false;
  s.eraser_flag = true;
  s.button_click = false;
  s.button_mask = 0;
  std::copy(std::begin(oldStylus_.button), std::end(oldStylus_.button), std::begin(s.button));
  s.point = {};
  s.tilt = {};
  s.scrPos = platform_.pointer ? platform_.pointer->location() : Point{};
  s.oldPos = {-32768, -32768};
  s.tool = 2;
  s.toolid = 0x822;

  NXTabletProximityData& p = s.proximity;
  p.vendorID = static_cast<std::uint16_t>(tabletSettings_.vendorID & 0xFFFF);
  p.tabletID = static_cast<std::uint16_t>(tabletSettings_.productID & 0xFFFF);
  p.pointerID = 0;
  p.deviceID = 0x81;
  p.systemTabletID = 0;
  p.vendorPointerType = 0x0802;
  p.pointerSerialNumber = 1;
  p.uniqueID = 0x23;
  p.capabilityMask = 0x0407;
  p.pointerType = 1;
  p.enterProximity = 0;
  p.reserved1 = 0;

  stylus_ = s;
  oldStylus_ = s;
}

void BTDriverManager::post(std::uint32_t type, const NXEventData& data, std::uint32_t options) {
  if (gEventDriver_ == 0 || !platform_.eventSystem) return;
  const IOGPoint location{truncToInt16Bits(stylus_.scrPos.x), truncToInt16Bits(stylus_.scrPos.y)};
  platform_.eventSystem->post(type, location, data, options);
  postsToFlush_ = true;
}

void BTDriverManager::flushPosts() {
  if (!postsToFlush_) return;
  postsToFlush_ = false;
  if (gEventDriver_ != 0 && platform_.eventSystem) platform_.eventSystem->flush();
}

void BTDriverManager::postMoveOrDragEvent(std::uint32_t type) {
  NXEventData data;
  NXMouseMoveData& m = data.mouseMove;
  m.dx = stylus_.ioPos.x - oldStylus_.ioPos.x;
  m.dy = stylus_.ioPos.y - oldStylus_.ioPos.y;
  m.subx = stylus_.subx;
  m.suby = stylus_.suby;
  m.subType = NX_SUBTYPE_TABLET_POINT;
  m.tablet.point.x = stylus_.report.x;
  m.tablet.point.y = stylus_.report.y;
  m.tablet.point.buttons = static_cast<std::uint16_t>(stylus_.report.buttons);
  m.tablet.point.pressure = stylus_.pressure;
  m.tablet.point.deviceID = stylus_.proximity.deviceID;
  post(type, data, kIOHIDSetCursorPosition);
}

void BTDriverManager::postButtonEvent(std::uint32_t type, int buttonNumber) {
  NXEventData data;
  NXMouseData& m = data.mouse;
  m.subx = stylus_.subx;
  m.suby = stylus_.suby;
  m.eventNum = eventNumber_++;
  m.click = 0;
  m.pressure = static_cast<std::uint8_t>(stylus_.pressure >> 8);
  m.buttonNumber = static_cast<std::uint8_t>(buttonNumber);
  m.subType = NX_SUBTYPE_TABLET_POINT;
  m.tablet.point.x = stylus_.report.x;
  m.tablet.point.y = stylus_.report.y;
  m.tablet.point.buttons = static_cast<std::uint16_t>(stylus_.report.buttons);
  m.tablet.point.pressure = static_cast<std::uint16_t>(stylus_.report.pressure & 0xFFFF);
  m.tablet.point.deviceID = stylus_.proximity.deviceID;
  post(type, data, kIOHIDPostNoOptions);
}

void BTDriverManager::postProximityEvent() {
  stylus_.proximity.enterProximity = stylus_.off_tablet ? 0 : 1;

  NXEventData move;
  move.mouseMove.subx = stylus_.subx;
  move.mouseMove.suby = stylus_.suby;
  move.mouseMove.subType = NX_SUBTYPE_TABLET_PROXIMITY;
  move.mouseMove.tablet.proximity = stylus_.proximity;
  post(NX_MOUSEMOVED, move, kIOHIDPostNoOptions);

  NXEventData proximity;
  proximity.tablet.proximity = stylus_.proximity;
  post(NX_TABLETPROXIMITY, proximity, kIOHIDPostNoOptions);
}

}  // namespace taviro
