#include "platform/linux/UinputPen.h"

#include <libevdev/libevdev-uinput.h>
#include <libevdev/libevdev.h>

#include <chrono>
#include <cmath>
#include <cstring>
#include <thread>
#include <unistd.h>

#include "display/ScreenGeometry.h"
#include "foundation/Log.h"

namespace taviro::linux_input {
namespace {

// Desktop pixels per millimetre at 96 dpi: libinput refuses a tablet without
// an x/y resolution.
constexpr int kPixelsPerMm = 4;

void setAxis(libevdev* dev, unsigned int code, int minimum, int maximum, int resolution) {
  input_absinfo info{};
  info.minimum = minimum;
  info.maximum = maximum;
  info.resolution = resolution;
  libevdev_enable_event_code(dev, EV_ABS, code, &info);
}

}  // namespace

void logUinputHelp(const char* what, int error) {
  // The package installs the rules and the modules-load file itself; a copy
  // run from a build tree needs them put in place by hand.
  logBare("Cannot create the %s on /dev/uinput (%s). Load the uinput module (modprobe uinput) "
          "and give your user access to /dev/uinput: the taviro package installs the udev rule "
          "(70-taviro.rules); from a build tree copy it into /etc/udev/rules.d and run "
          "'udevadm control --reload && udevadm trigger'. Then log in again (see docs/linux.md).",
          what, std::strerror(error));
}

void settleNewDevice() { std::this_thread::sleep_for(std::chrono::milliseconds(200)); }

DesktopRange desktopOf(const DisplayServices& displays) {
  const Rect all = allScreenSize(displays);
  if (all.isNull() || all.isEmpty()) return DesktopRange{0, 0, 1920, 1080};
  return DesktopRange{static_cast<int>(std::floor(all.minX())), static_cast<int>(std::floor(all.minY())),
                      static_cast<int>(std::ceil(all.size.width)),
                      static_cast<int>(std::ceil(all.size.height))};
}

UinputPen::UinputPen(const DisplayServices& displays, NotificationCenter& center)
    : displays_(displays), center_(center) {
  observer_ = center_.addObserver(kApplicationDidChangeScreenParametersNotification,
                                  [this](const Notification&) { displaysChanged_ = true; });
}

UinputPen::~UinputPen() {
  center_.removeObserver(observer_);
  destroy();
}

int UinputPen::create() {
  desktop_ = desktopOf(displays_);
  libevdev* dev = libevdev_new();
  libevdev_set_name(dev, kVirtualPenName);
  libevdev_set_id_bustype(dev, BUS_VIRTUAL);
  libevdev_set_id_vendor(dev, 0x6161);
  libevdev_set_id_product(dev, 0x4D15);
  libevdev_enable_property(dev, INPUT_PROP_DIRECT);
  libevdev_enable_property(dev, INPUT_PROP_POINTER);
  for (unsigned int key : {BTN_TOOL_PEN, BTN_TOUCH, BTN_STYLUS, BTN_STYLUS2})
    libevdev_enable_event_code(dev, EV_KEY, key, nullptr);
  setAxis(dev, ABS_X, 0, desktop_.width - 1, kPixelsPerMm);
  setAxis(dev, ABS_Y, 0, desktop_.height - 1, kPixelsPerMm);
  setAxis(dev, ABS_PRESSURE, 0, kMaxPressure, 0);
  const int rc = libevdev_uinput_create_from_device(dev, LIBEVDEV_UINPUT_OPEN_MANAGED, &device_);
  libevdev_free(dev);
  if (rc != 0) device_ = nullptr;
  state_ = PenState{};
  return rc;
}

void UinputPen::destroy() {
  if (!device_) return;
  append(leaveProximity(state_));
  flush();
  libevdev_uinput_destroy(device_);
  device_ = nullptr;
}

HIDEventSystemOpenResult UinputPen::open() {
  destroy();
  displaysChanged_ = false;
  const int rc = create();
  if (rc != 0) {
    logUinputHelp("virtual pen", -rc);
    return {HIDEventSystemOpen::OpenFailed, rc};
  }
  settleNewDevice();
  return {HIDEventSystemOpen::Opened, 0};
}

int UinputPen::close() {
  destroy();
  return 0;
}

void UinputPen::append(const EvdevFrame& frame) {
  if (pendingCount_ + frame.count > std::size(pending_)) flush();
  for (const EvdevEvent& e : frame) {
    input_event& out = pending_[pendingCount_++];
    out.type = e.type;
    out.code = e.code;
    out.value = e.value;
  }
}

void UinputPen::flush() {
  // One system call for all of a report's frames; the kernel still hands
  // each frame (up to its SYN_REPORT) to readers as a frame of its own.
  if (device_ && pendingCount_ > 0)
    [[maybe_unused]] const ssize_t n =
        ::write(libevdev_uinput_get_fd(device_), pending_, pendingCount_ * sizeof(input_event));
  pendingCount_ = 0;
}

void UinputPen::restore(const PenState& before, IOGPoint location) {
  if (!before.inProximity) return;
  NXEventData enter;
  enter.mouseMove.subType = NX_SUBTYPE_TABLET_PROXIMITY;
  enter.mouseMove.tablet.proximity.enterProximity = 1;
  append(translatePost(state_, NX_MOUSEMOVED, location, enter, desktop_));
  if (!before.tipDown) return;
  NXEventData down;
  down.mouse.tablet.point.pressure = static_cast<std::uint16_t>(before.pressure);
  append(translatePost(state_, NX_LMOUSEDOWN, location, down, desktop_));
}

void UinputPen::post(std::uint32_t type, IOGPoint location, const NXEventData& data,
                     std::uint32_t /*options*/) {
  if (!device_) return;
  if (displaysChanged_.exchange(false) && desktopOf(displays_) != desktop_) {
    // The axes' range cannot change on a live device: make a new one, and
    // bring the pen back into proximity (and the tip down) as it was.
    const PenState before = state_;
    destroy();
    if (const int rc = create(); rc != 0) {
      logUinputHelp("virtual pen", -rc);
      return;
    }
    restore(before, location);
  }
  append(translatePost(state_, type, location, data, desktop_));
}

}  // namespace taviro::linux_input
