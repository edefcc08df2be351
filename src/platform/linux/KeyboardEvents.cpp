#include "platform/linux/KeyboardEvents.h"

#include <linux/input-event-codes.h>

#include "platform/linux/KeyCodes.h"
#include "shortcuts/SyntheticInput.h"

namespace taviro::linux_input {
namespace {

void keyFrame(EvdevEvents& out, int key, bool down) {
  out.push_back({EV_KEY, static_cast<std::uint16_t>(key), down ? 1 : 0});
  out.push_back({EV_SYN, SYN_REPORT, 0});
}

}  // namespace

std::vector<int> modifierKeysOf(std::uint64_t flags) {
  std::vector<int> keys;
  if (flags & kEventFlagControl) keys.push_back(KEY_LEFTCTRL);
  if (flags & kEventFlagOption) keys.push_back(KEY_LEFTALT);
  if (flags & kEventFlagShift) keys.push_back(KEY_LEFTSHIFT);
  if (flags & kEventFlagCommand) keys.push_back(KEY_LEFTMETA);
  return keys;
}

EvdevEvents chordEvents(std::uint16_t virtualKey, std::uint64_t flags, bool down) {
  EvdevEvents out;
  const int key = linuxKeyForVirtualKey(virtualKey);
  if (key < 0) return out;
  const std::vector<int> modifiers = modifierKeysOf(flags);
  if (down) {
    for (int m : modifiers) keyFrame(out, m, true);
    keyFrame(out, key, true);
  } else {
    keyFrame(out, key, false);
    for (auto it = modifiers.rbegin(); it != modifiers.rend(); ++it) keyFrame(out, *it, false);
  }
  return out;
}

EvdevEvents modifierKeyEvents(std::uint16_t keyCode, bool down) {
  EvdevEvents out;
  if (keyCode == 0) return out;
  const int key = linuxKeyForVirtualKey(keyCode);
  if (key >= 0) keyFrame(out, key, down);
  return out;
}

EvdevEvents mouseButtonEvents(std::uint32_t button, std::uint32_t eventType) {
  EvdevEvents out;
  int code = -1;
  switch (button) {
    case kMouseButtonLeft: code = BTN_LEFT; break;
    case kMouseButtonRight: code = BTN_RIGHT; break;
    case kMouseButtonMiddle: code = BTN_MIDDLE; break;
    default: return out;
  }
  switch (eventType) {
    case kEventLeftMouseDown:
    case kEventRightMouseDown:
    case kEventOtherMouseDown: keyFrame(out, code, true); break;
    case kEventLeftMouseUp:
    case kEventRightMouseUp:
    case kEventOtherMouseUp: keyFrame(out, code, false); break;
    default: break;
  }
  return out;
}

EvdevEvents WheelAccumulator::scroll(std::int32_t pixels) {
  EvdevEvents out;
  const int units = -pixels * kHiResPerDetent / kPixelsPerDetent;
  if (units == 0) return out;
  out.push_back({EV_REL, REL_WHEEL_HI_RES, units});
  hiRes_ += units;
  const int detents = hiRes_ / kHiResPerDetent;  // toward zero: whole detents only
  if (detents != 0) {
    out.push_back({EV_REL, REL_WHEEL, detents});
    hiRes_ -= detents * kHiResPerDetent;
  }
  out.push_back({EV_SYN, SYN_REPORT, 0});
  return out;
}

}  // namespace taviro::linux_input
