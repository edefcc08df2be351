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
  for (int key : keyboardKeys()) libevdev_enable_event_code(dev, EV_KEY, static_cast<unsigned>(key), nullptr);
  // REL_X and REL_Y are never posted, but with them and the buttons udev
  // tags the device a mouse, and only then does the desktop take its clicks.
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
  writer_ = std::thread([this] { writeQueued(); });
}

UinputKeyboard::~UinputKeyboard() {
  if (writer_.joinable()) {
    {
      std::lock_guard lock(mutex_);
      stopping_ = true;
    }
    queued_.notify_one();
    writer_.join();
  }
  if (device_) libevdev_uinput_destroy(device_);
}

void UinputKeyboard::write(const EvdevEvents& events) {
  if (!device_) return;
  std::unique_lock lock(mutex_);
  const auto now = ButtonPacer::Clock::now();
  EvdevEvents frame;
  for (const EvdevEvent& e : events) {
    frame.push_back(e);
    if (e.type != EV_SYN) continue;
    queue_.emplace_back(pacer_.schedule(frame, now), std::move(frame));
    frame.clear();
  }
  lock.unlock();
  queued_.notify_one();
}

void UinputKeyboard::writeQueued() {
  std::unique_lock lock(mutex_);
  for (;;) {
    queued_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
    if (queue_.empty()) return;  // stopping, everything sent
    const auto due = queue_.front().first;
    if (ButtonPacer::Clock::now() < due) {
      // Even when the keyboard is going away: sent early, a click would merge
      // with the one before.
      queued_.wait_until(lock, due);
      continue;
    }
    const EvdevEvents frame = std::move(queue_.front().second);
    queue_.pop_front();
    lock.unlock();
    for (const EvdevEvent& e : frame) libevdev_uinput_write_event(device_, e.type, e.code, e.value);
    lock.lock();
  }
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
  // of a double click by their timing, which the pacer keeps apart.
  write(mouseButtonEvents(button, eventType));
}

void UinputKeyboard::postScrollEvent(std::int32_t pixels) { write(wheel_.scroll(pixels)); }

}  // namespace taviro::linux_input
