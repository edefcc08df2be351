#include "platform/linux/LinuxHIDManager.h"

#include <fcntl.h>
#include <libudev.h>
#include <linux/hidraw.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

#include "foundation/Log.h"
#include "platform/linux/HidMatch.h"
#include "platform/linux/InputGrab.h"

namespace taviro::linux_input {

// One connected hidraw node of the tablet.
class HidrawDevice : public HIDDevice {
 public:
  HidrawDevice(std::uint64_t id, std::string syspath, std::string grabRoot, int fd)
      : id_(id), syspath_(std::move(syspath)), grabRoot_(std::move(grabRoot)), fd_(fd) {}
  ~HidrawDevice() override { ::close(fd_); }

  int setFeatureReport(std::uint8_t reportId, const std::uint8_t* bytes,
                       std::size_t length) override {
    // hidraw wants the report ID in the first byte; the command may carry it.
    std::uint8_t buf[64];
    std::size_t n = 0;
    if (length == 0 || bytes[0] != reportId) buf[n++] = reportId;
    if (length > sizeof buf - n) return EINVAL;
    std::memcpy(buf + n, bytes, length);
    n += length;
    if (ioctl(fd_, HIDIOCSFEATURE(n), buf) < 0) {
      logBare("Feature report %u to the tablet failed (%s).", reportId, std::strerror(errno));
      return errno;
    }
    return 0;
  }

  void registerInputReportCallback(std::uint8_t* buffer, std::size_t size,
                                   InputReportCallback callback) override {
    buffer_ = buffer;
    size_ = size;
    callback_ = std::move(callback);
  }

  std::uint64_t id() const { return id_; }
  const std::string& syspath() const { return syspath_; }
  const std::string& grabRoot() const { return grabRoot_; }
  int fd() const { return fd_; }
  InputGrab& grabs() { return grabs_; }
  std::uint8_t* buffer() const { return buffer_; }
  std::size_t size() const { return size_; }
  const InputReportCallback& callback() const { return callback_; }

 private:
  std::uint64_t id_;
  std::string syspath_;
  std::string grabRoot_;
  int fd_;
  InputGrab grabs_;
  std::uint8_t* buffer_ = nullptr;
  std::size_t size_ = 0;
  InputReportCallback callback_;
};

namespace {

constexpr std::chrono::seconds kRetryInterval{1};

// Without a udev daemon (containers, an initramfs) the "udev" source never
// hears of anything; the kernel's own events then serve.
const char* monitorSource() { return access("/run/udev/control", F_OK) == 0 ? "udev" : "kernel"; }

// The device whose event nodes the grab covers: the whole USB device (its
// other interfaces may have event nodes too), or the HID device when it is
// not on USB.
std::string grabRootOf(udev_device* hidraw) {
  if (udev_device* usb = udev_device_get_parent_with_subsystem_devtype(hidraw, "usb", "usb_device"))
    return udev_device_get_syspath(usb);
  if (udev_device* hid = udev_device_get_parent_with_subsystem_devtype(hidraw, "hid", nullptr))
    return udev_device_get_syspath(hid);
  return {};
}

}  // namespace

LinuxHIDManager::LinuxHIDManager() = default;

LinuxHIDManager::~LinuxHIDManager() { close(); }

void LinuxHIDManager::setDeviceMatching(std::int32_t vendorID, std::int32_t productID) {
  vendor_ = static_cast<std::uint32_t>(vendorID);
  product_ = static_cast<std::uint32_t>(productID);
}

void LinuxHIDManager::registerDeviceMatchingCallback(DeviceCallback callback) {
  matched_ = std::move(callback);
}

void LinuxHIDManager::registerDeviceRemovalCallback(DeviceCallback callback) {
  removed_ = std::move(callback);
}

int LinuxHIDManager::open(std::uint32_t options) {
  seize_ = (options & kIOHIDOptionsTypeSeizeDevice) != 0;
  udev_ = udev_new();
  wakeFd_ = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
  if (!udev_ || wakeFd_ < 0) {
    const int error = errno ? errno : ENOMEM;
    logBare("Cannot watch for the tablet: libudev is not available (%s).", std::strerror(error));
    // Left as never opened: run() finds nothing and waits for close() only.
    release();
    return error;
  }
  // The monitor exists before the first run() enumerates the devices present,
  // so that a tablet plugged in between the two is not missed (duplicates are
  // ignored by syspath).
  monitor_ = udev_monitor_new_from_netlink(udev_, monitorSource());
  if (monitor_) {
    udev_monitor_filter_add_match_subsystem_devtype(monitor_, "hidraw", nullptr);
    udev_monitor_filter_add_match_subsystem_devtype(monitor_, "input", nullptr);
    if (udev_monitor_enable_receiving(monitor_) < 0) {
      udev_monitor_unref(monitor_);
      monitor_ = nullptr;
    }
  }
  if (!monitor_) logBare("Cannot follow tablet hot-plugging (udev monitor unavailable).");
  return 0;
}

void LinuxHIDManager::connectPresent() {
  udev_enumerate* e = udev_enumerate_new(udev_);
  udev_enumerate_add_match_subsystem(e, "hidraw");
  udev_enumerate_scan_devices(e);
  udev_list_entry* entry = nullptr;
  udev_list_entry_foreach(entry, udev_enumerate_get_list_entry(e)) {
    if (closed_) break;
    if (udev_device* dev = udev_device_new_from_syspath(udev_, udev_list_entry_get_name(entry))) {
      if (matches(dev)) connect(dev);
      udev_device_unref(dev);
    }
  }
  udev_enumerate_unref(e);
}

bool LinuxHIDManager::matches(udev_device* hidraw) const {
  udev_device* hid = udev_device_get_parent_with_subsystem_devtype(hidraw, "hid", nullptr);
  const char* id = hid ? udev_device_get_property_value(hid, "HID_ID") : nullptr;
  return id && matchesTablet(id, vendor_, product_);
}

void LinuxHIDManager::connect(udev_device* hidraw) {
  const std::string syspath = udev_device_get_syspath(hidraw);
  for (const auto& d : devices_)
    if (d->syspath() == syspath) return;
  const char* devnode = udev_device_get_devnode(hidraw);
  if (!devnode) return;
  const auto waiting = std::find(waiting_.begin(), waiting_.end(), syspath);
  const int fd = ::open(devnode, O_RDWR | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    logBare("Cannot open the tablet at %s (%s). Install the udev rule 70-taviro.rules and plug "
            "the tablet in again (see docs/linux.md).",
            devnode, std::strerror(errno));
    return;
  }
  const std::string root = grabRootOf(hidraw);
  // Each HID interface of the tablet has a hidraw node of its own, and all
  // share the USB device's event nodes: the first connected one holds their
  // grabs (a second EVIOCGRAB on a node would fail with EBUSY).
  const bool grabbed = std::any_of(devices_.begin(), devices_.end(),
                                   [&](const auto& d) { return d->grabRoot() == root; });
  devices_.push_back(std::make_unique<HidrawDevice>(nextId_++, syspath, root, fd));
  HidrawDevice& device = *devices_.back();
  if (seize_ && !grabbed) {
    if (const auto held = device.grabs().grabBelow(udev_, device.grabRoot())) {
      // Reading it too would make every event and shortcut happen twice.
      devices_.pop_back();
      if (waiting == waiting_.end()) {
        logBare("Leaving the tablet at %s alone: another driver owns the tablet (another "
                "program, such as Taviro or taviro-driver, holds %s). Taking it over once it "
                "lets go.",
                devnode, held->c_str());
        waiting_.push_back(syspath);
        nextRetry_ = std::chrono::steady_clock::now() + kRetryInterval;
      }
      return;
    }
  }
  if (waiting != waiting_.end()) {
    logBare("The other driver let go of the tablet at %s: taking it over.", devnode);
    waiting_.erase(waiting);
  }
  pollListStale_ = true;
  if (matched_) matched_(device);
}

void LinuxHIDManager::retryWaiting() {
  nextRetry_ = std::chrono::steady_clock::now() + kRetryInterval;
  const std::vector<std::string> waiting = waiting_;
  for (const std::string& syspath : waiting) {
    if (closed_) return;
    udev_device* dev = udev_device_new_from_syspath(udev_, syspath.c_str());
    if (!dev) {  // gone meanwhile
      std::erase(waiting_, syspath);
      continue;
    }
    connect(dev);
    udev_device_unref(dev);
  }
}

HidrawDevice* LinuxHIDManager::deviceWithId(std::uint64_t id) const {
  for (const auto& d : devices_)
    if (d->id() == id) return d.get();
  return nullptr;
}

void LinuxHIDManager::disconnect(const std::string& syspath) {
  std::erase(waiting_, syspath);
  auto it = std::find_if(devices_.begin(), devices_.end(),
                         [&](const auto& d) { return d->syspath() == syspath; });
  if (it == devices_.end()) return;
  std::unique_ptr<HidrawDevice> device = std::move(*it);
  devices_.erase(it);
  pollListStale_ = true;
  if (removed_) removed_(*device);
  device->grabs().releaseAll();
}

void LinuxHIDManager::handleMonitor() {
  udev_device* dev = udev_monitor_receive_device(monitor_);
  if (!dev) return;
  const char* actionText = udev_device_get_action(dev);
  const std::string action = actionText ? actionText : "";
  const char* subsystemText = udev_device_get_subsystem(dev);
  const std::string subsystem = subsystemText ? subsystemText : "";
  const std::string syspath = udev_device_get_syspath(dev);
  if (subsystem == "hidraw") {
    if (action == "add" && matches(dev)) connect(dev);
    if (action == "remove") disconnect(syspath);
  } else if (subsystem == "input" && action == "add" && seize_) {
    // An event node of a connected tablet that appeared after its hidraw node.
    const char* sysname = udev_device_get_sysname(dev);
    if (sysname && std::strncmp(sysname, "event", 5) == 0) {
      for (const auto& d : devices_) {
        if (!belongsTo(syspath, d->grabRoot())) continue;
        d->grabs().grab(syspath, udev_device_get_devnode(dev));
        break;  // one holder per node
      }
    }
  }
  udev_device_unref(dev);
}

void LinuxHIDManager::readReport(HidrawDevice& device) {
  // One read per wake: reading on until EAGAIN would cost a failing read
  // after every report, since they come one at a time.
  std::uint8_t report[64];
  const ssize_t n = ::read(device.fd(), report, sizeof report);
  if (n < 0) {
    // The node is gone: the removal event may still be on its way.
    if (errno != EAGAIN && errno != EINTR) disconnect(device.syspath());
    return;
  }
  if (n == 0) return;
  const auto length = static_cast<std::size_t>(n);
  if (tap_) tap_(report, length);
  if (!device.callback() || !device.buffer()) return;
  const std::size_t copied = std::min(length, device.size());
  std::memcpy(device.buffer(), report, copied);
  device.callback()(report[0], device.buffer(), copied);
}

void LinuxHIDManager::rebuildPollList() {
  pollFds_.clear();
  polledIds_.clear();
  pollFds_.push_back({wakeFd_, POLLIN, 0});
  if (monitor_) pollFds_.push_back({udev_monitor_get_fd(monitor_), POLLIN, 0});
  for (const auto& d : devices_) {
    pollFds_.push_back({d->fd(), POLLIN, 0});
    polledIds_.push_back(d->id());
  }
  pollListStale_ = false;
}

void LinuxHIDManager::run(std::chrono::milliseconds timeout) {
  {
    std::unique_lock lock(runMutex_);
    if (closed_) return;
    if (!udev_) {
      // Never opened: nothing to wait on but close().
      runEnded_.wait_for(lock, timeout, [this] { return closed_.load(); });
      return;
    }
    running_ = true;
    runThread_ = std::this_thread::get_id();
  }
  // The devices present at open() are announced by the first run().
  if (!enumerated_) {
    enumerated_ = true;
    connectPresent();
  }
  if (!closed_) {
    // Kept between calls: run() comes round once per report.
    if (pollListStale_) rebuildPollList();
    const std::size_t firstDevice = monitor_ ? 2 : 1;
    if (!waiting_.empty()) {
      const auto untilRetry = std::chrono::ceil<std::chrono::milliseconds>(
          nextRetry_ - std::chrono::steady_clock::now());
      timeout = std::clamp(untilRetry, std::chrono::milliseconds(0), timeout);
    }
    const int ready = poll(pollFds_.data(), pollFds_.size(), static_cast<int>(timeout.count()));
    if (ready > 0 && !closed_) {
      if (monitor_ && (pollFds_[1].revents & POLLIN)) handleMonitor();
      for (std::size_t i = firstDevice; i < pollFds_.size() && !closed_; ++i) {
        const short revents = pollFds_[i].revents;
        if (!revents) continue;
        // The device may have gone while handling the monitor or an earlier node.
        HidrawDevice* device = deviceWithId(polledIds_[i - firstDevice]);
        if (!device) continue;
        if (revents & POLLIN) readReport(*device);
        else if (revents & (POLLERR | POLLHUP | POLLNVAL)) disconnect(device->syspath());
      }
    }
    if (!waiting_.empty() && !closed_ && std::chrono::steady_clock::now() >= nextRetry_)
      retryWaiting();
  }
  {
    std::lock_guard lock(runMutex_);
    running_ = false;
    runThread_ = {};
    if (closed_) release();
  }
  runEnded_.notify_all();
}

void LinuxHIDManager::close() {
  std::unique_lock lock(runMutex_);
  closed_ = true;
  runEnded_.notify_all();
  if (wakeFd_ >= 0) {
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t n = ::write(wakeFd_, &one, sizeof one);
  }
  // Called from one of this manager's callbacks: run() releases on its way out.
  if (running_ && runThread_ == std::this_thread::get_id()) return;
  runEnded_.wait(lock, [this] { return !running_; });
  release();
}

void LinuxHIDManager::release() {
  devices_.clear();  // closes the nodes and drops the grabs
  waiting_.clear();
  pollListStale_ = true;
  if (monitor_) udev_monitor_unref(monitor_);
  monitor_ = nullptr;
  if (udev_) udev_unref(udev_);
  udev_ = nullptr;
  if (wakeFd_ >= 0) ::close(wakeFd_);
  wakeFd_ = -1;
}

}  // namespace taviro::linux_input
