#pragma once
// Synthetic keys, clicks and scrolling on Linux: a virtual keyboard with mouse
// buttons and a high-resolution wheel on /dev/uinput. Created once; when it
// cannot be, shortcuts post nothing and the log says what to do.
//
// Posts come from the main thread and return at once; a writer thread of the
// keyboard's own sends each frame when the ButtonPacer lets it, in order, so
// that a double click is spaced without holding up the caller.
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>
#include <utility>

#include "platform/linux/KeyboardEvents.h"
#include "shortcuts/SyntheticInput.h"

struct libevdev_uinput;

namespace taviro::linux_input {

inline constexpr const char* kVirtualKeyboardName = "Taviro Virtual Keyboard";

class UinputKeyboard : public SyntheticInput {
 public:
  UinputKeyboard();
  // Sends what is still queued (at its time), then removes the device.
  ~UinputKeyboard() override;
  UinputKeyboard(const UinputKeyboard&) = delete;
  UinputKeyboard& operator=(const UinputKeyboard&) = delete;

  void postKeyboardEvent(std::uint16_t virtualKey, std::uint64_t flags, bool down) override;
  void postModifierKeyEvent(std::uint16_t keyCode, bool down) override;
  void postMouseEvent(std::uint32_t button, std::uint32_t eventType,
                      std::int64_t clickCount) override;
  void postScrollEvent(std::int32_t pixels) override;

 private:
  // Queues the events frame by frame (each up to its SYN_REPORT).
  void write(const EvdevEvents& events);
  void writeQueued();

  libevdev_uinput* device_ = nullptr;
  WheelAccumulator wheel_;
  ButtonPacer pacer_;
  std::mutex mutex_;
  std::condition_variable queued_;
  std::deque<std::pair<ButtonPacer::Clock::time_point, EvdevEvents>> queue_;
  bool stopping_ = false;
  std::thread writer_;
};

}  // namespace taviro::linux_input
