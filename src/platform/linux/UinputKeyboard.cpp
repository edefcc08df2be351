#include "platform/linux/UinputKeyboard.h"

#include <libevdev/libevdev-uinput.h>
#include <libevdev/libevdev.h>

#include "foundation/Log.h"
#include "platform/linux/UinputPen.h"

namespace taviro::linux_input {

UinputKeyboard::UinputKeyboard() {
  libevdev* dev = libevdev_new();
  libevdev_set_name(dev, kVirtualKeyboardName);
  libevdev_set_id_bustype(dev, BUS_VIRTUAL);
  libevdev_set_id_vendor(dev, 0x6161);
  libevdev_set_id_product(dev, 0x4D16);
  // Every key a shortcut can name, and the mouse buttons; no joystick or
  // gamepad buttons, or the desktop would take the device for a joystick.
  for (unsigned int key = KEY_ESC; key < BTN_MISC; ++key)
    libevdev_enable_event_code(dev, EV_KEY, key, nullptr);
  for (unsigned int key = KEY_OK; key < BTN_TRIGGER_HAPPY; ++key)
    libevdev_enable_event_code(dev, EV_KEY, key, nullptr);
  for (unsigned int button : {BTN_LEFT, BTN_RIGHT, BTN_MIDDLE})
    libevdev_enable_event_code(dev, EV_KEY, button, nullptr);
  for (unsigned int axis : {REL_X, REL_Y, REL_WHEEL, REL_WHEEL_HI_RES})
    libevdev_enable_event_code(dev, EV_REL, axis, nullptr);
  const int rc = libevdev_uinput_create_from_device(dev, LIBEVDEV_UINPUT_OPEN_MANAGED, &device_);
  libevdev_free(dev);
  if (rc != 0) {
    device_ = nullptr;
    logUinputHelp("virtual keyboard", -rc);
    return;
  }
  settleNewDevice();
}

UinputKeyboard::~UinputKeyboard() {
  if (device_) libevdev_uinput_destroy(device_);
}

void UinputKeyboard::write(const EvdevEvents& events) {
  if (!device_) return;
  for (const EvdevEvent& e : events) libevdev_uinput_write_event(device_, e.type, e.code, e.value);
}

void UinputKeyboard::postKeyboardEvent(std::uint16_t virtualKey, std::uint64_t flags, bool down) {
  const EvdevEvents events = chordEvents(virtualKey, flags, down);
  if (events.empty()) logBare("No Linux key for virtual key code %u; nothing posted.", virtualKey);
  write(events);
}

void UinputKeyboard::postModifierKeyEvent(std::uint16_t keyCode, bool down) {
  write(modifierKeyEvents(keyCode, down));
}

void UinputKeyboard::postMouseEvent(std::uint32_t button, std::uint32_t eventType,
                                    std::int64_t /*clickCount*/) {
  // The click count needs no event of its own: the desktop counts the clicks
  // of a double click by their timing.
  write(mouseButtonEvents(button, eventType));
}

void UinputKeyboard::postScrollEvent(std::int32_t pixels) { write(wheel_.scroll(pixels)); }

}  // namespace taviro::linux_input
