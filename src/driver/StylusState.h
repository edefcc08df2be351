#pragma once
// The pen state the driver keeps: `stylus` for the report being applied and
// `oldStylus` as it stood after the previous applied report. Only the driver
// thread touches these records.
#include <cstdint>

#include "driver/HIDEventSystem.h"
#include "foundation/Geometry.h"

namespace taviro {

struct MyReport {
  std::int16_t proximity = 0;
  std::int16_t buttons = 0;
  std::int32_t x = 0;
  std::int32_t y = 0;
  std::int32_t pressure = 0;
};

struct Int16Point {
  std::int16_t x = 0;
  std::int16_t y = 0;
};
struct Int32Point {
  std::int32_t x = 0;
  std::int32_t y = 0;
  friend bool operator==(const Int32Point&, const Int32Point&) = default;
};

// Button mask bits (bit index = key index handed to the shortcuts).
inline constexpr std::uint16_t kMaskStylusButton1 = 0x0020;
inline constexpr std::uint16_t kMaskStylusButton2 = 0x0040;
inline constexpr std::uint16_t kMaskTip = 0x0080;
inline constexpr std::uint16_t kMaskKeysReleased = 0x8000;
inline constexpr int kLatchedButtons = 10;

struct StylusState {
  Point scrPos;
  Point oldPos;
  Int16Point ioPos;
  std::uint8_t subx = 0;
  std::uint8_t suby = 0;
  MyReport report;
  Int32Point point;
  Int32Point old;
  Int32Point motion;
  Int16Point tilt;
  std::uint16_t raw_pressure = 0;
  std::uint16_t pressure = 0;
  bool button_click = false;
  std::uint16_t button_mask = 0;
  bool button[kLatchedButtons] = {};
  bool off_tablet = false;
  bool pen_near = false;
  bool eraser_flag = false;
  std::uint16_t menu_button = 0;
  std::uint16_t tool = 0;
  std::int32_t toolid = 0;
  std::int64_t serialno = 0;
  std::int16_t rotation = 0;
  std::int16_t wheel = 0;
  std::int16_t throttle = 0;
  NXTabletProximityData proximity;
};

}  // namespace taviro
