#include "platform/linux/KeyboardEvents.h"

#include <linux/input-event-codes.h>

#include <algorithm>

#include "platform/linux/KeyCodes.h"
#include "shortcuts/SyntheticInput.h"

namespace taviro::linux_input {
namespace {

void keyFrame(EvdevEvents& out, int key, bool down) {
  out.push_back({EV_KEY, static_cast<std::uint16_t>(key), down ? 1 : 0});
  out.push_back({EV_SYN, SYN_REPORT, 0});
}

}  // namespace

std::vector<int> keyboardKeys() {
  std::vector<int> keys = linuxKeysOfTheTable();
  for (int key : modifierKeysOf(kEventFlagControl | kEventFlagOption | kEventFlagShift |
                                kEventFlagCommand))
    keys.push_back(key);
  for (int button : {BTN_LEFT, BTN_RIGHT, BTN_MIDDLE}) keys.push_back(button);
  std::sort(keys.begin(), keys.end());
  keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
  return keys;
}

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

ButtonPacer::Clock::time_point ButtonPacer::schedule(const EvdevEvents& frame,
                                                    Clock::time_point now) {
  const auto isButton = [](const EvdevEvent& e) {
    return e.type == EV_KEY && e.code >= BTN_LEFT && e.code <= BTN_MIDDLE;
  };
  Clock::time_point due = std::max(now, last_);
  for (const EvdevEvent& e : frame) {
    const Clock::time_point changed = isButton(e) ? changed_[e.code - BTN_LEFT] : Clock::time_point{};
    if (changed != Clock::time_point{}) due = std::max(due, changed + kButtonSpacing);
  }
  for (const EvdevEvent& e : frame)
    if (isButton(e)) changed_[e.code - BTN_LEFT] = due;
  last_ = due;
  return due;
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
