#pragma once
// Synthetic keys, clicks and scrolling on Linux: a virtual keyboard with mouse
// buttons and a high-resolution wheel on /dev/uinput. Created once; when it
// cannot be, shortcuts post nothing and the log says what to do.
#include <memory>

#include "platform/linux/KeyboardEvents.h"
#include "shortcuts/SyntheticInput.h"

struct libevdev_uinput;

namespace taviro::linux_input {

inline constexpr const char* kVirtualKeyboardName = "Taviro Virtual Keyboard";

class UinputKeyboard : public SyntheticInput {
 public:
  UinputKeyboard();
  ~UinputKeyboard() override;
  UinputKeyboard(const UinputKeyboard&) = delete;
  UinputKeyboard& operator=(const UinputKeyboard&) = delete;

  void postKeyboardEvent(std::uint16_t virtualKey, std::uint64_t flags, bool down) override;
  void postModifierKeyEvent(std::uint16_t keyCode, bool down) override;
  void postMouseEvent(std::uint32_t button, std::uint32_t eventType,
                      std::int64_t clickCount) override;
  void postScrollEvent(std::int32_t pixels) override;

 private:
  void write(const EvdevEvents& events);

  libevdev_uinput* device_ = nullptr;
  WheelAccumulator wheel_;
};

}  // namespace taviro::linux_input
