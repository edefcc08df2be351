#pragma once
// The HID event system on Linux: a virtual pen on /dev/uinput that libinput
// and X11 treat as a tablet with pressure. Its absolute axes cover the whole
// desktop (the union of all displays, in pixels) and follow changes of the
// display configuration. The frames of one report's postings go out in one
// write() at flush().
#include <linux/input.h>

#include <atomic>

#include "display/DisplayServices.h"
#include "driver/HIDEventSystem.h"
#include "foundation/NotificationCenter.h"
#include "platform/linux/PenEvents.h"

struct libevdev_uinput;

namespace taviro::linux_input {

// The virtual pen's device name; the libinput quirks file matches it.
inline constexpr const char* kVirtualPenName = "Taviro Virtual Pen";

// Logs what the user can do when /dev/uinput cannot be used.
void logUinputHelp(const char* what, int error);

// Gives the desktop a moment to open a new virtual device before its first
// events.
void settleNewDevice();

// The desktop the displays make up; 1920 x 1080 when none is known.
DesktopRange desktopOf(const DisplayServices& displays);

class UinputPen : public HIDEventSystem {
 public:
  UinputPen(const DisplayServices& displays,
            NotificationCenter& center = NotificationCenter::defaultCenter());
  ~UinputPen() override;
  UinputPen(const UinputPen&) = delete;
  UinputPen& operator=(const UinputPen&) = delete;

  HIDEventSystemOpenResult open() override;
  int close() override;
  void post(std::uint32_t type, IOGPoint location, const NXEventData& data,
            std::uint32_t options) override;
  void flush() override;

 private:
  int create();
  void destroy();
  void append(const EvdevFrame& frame);
  void restore(const PenState& before, IOGPoint location);

  const DisplayServices& displays_;
  NotificationCenter& center_;
  NotificationCenter::Token observer_ = 0;
  std::atomic<bool> displaysChanged_{false};
  libevdev_uinput* device_ = nullptr;
  DesktopRange desktop_;
  PenState state_;
  // Events posted since the last flush(): a smoothing group's three moves
  // and the state machine's event, with room to spare.
  input_event pending_[64]{};
  std::size_t pendingCount_ = 0;
};

}  // namespace taviro::linux_input
