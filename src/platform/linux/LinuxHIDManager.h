#pragma once
// The HID manager on Linux: finds the tablet's hidraw node with libudev,
// follows arrival and removal with a udev monitor, reads input reports from
// hidraw, sends feature reports with HIDIOCSFEATURE and, when opened for
// exclusive use, grabs the tablet's event nodes while it is connected.
//
// One poll() in run() waits on the monitor, every open hidraw node and a
// wake-up descriptor for close(): no busy waiting.
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <poll.h>

#include "driver/HIDManager.h"

struct udev;
struct udev_device;
struct udev_monitor;

namespace taviro::linux_input {

class HidrawDevice;

class LinuxHIDManager : public HIDManager {
 public:
  // Sees every input report before it is delivered (the driver's recorder).
  using ReportTap = std::function<void(const std::uint8_t* report, std::size_t length)>;

  LinuxHIDManager();
  ~LinuxHIDManager() override;
  LinuxHIDManager(const LinuxHIDManager&) = delete;
  LinuxHIDManager& operator=(const LinuxHIDManager&) = delete;

  void setReportTap(ReportTap tap) { tap_ = std::move(tap); }

  void setDeviceMatching(std::int32_t vendorID, std::int32_t productID) override;
  int open(std::uint32_t options) override;
  void registerDeviceMatchingCallback(DeviceCallback callback) override;
  void registerDeviceRemovalCallback(DeviceCallback callback) override;
  void run(std::chrono::milliseconds timeout) override;
  void close() override;

 private:
  bool matches(udev_device* hidraw) const;
  void connectPresent();
  void connect(udev_device* hidraw);
  void disconnect(const std::string& syspath);
  HidrawDevice* deviceWithId(std::uint64_t id) const;
  void handleMonitor();
  void readReports(HidrawDevice& device);
  void release();

  std::uint32_t vendor_ = 0;
  std::uint32_t product_ = 0;
  bool seize_ = false;
  DeviceCallback matched_;
  DeviceCallback removed_;
  ReportTap tap_;

  udev* udev_ = nullptr;
  udev_monitor* monitor_ = nullptr;
  int wakeFd_ = -1;
  bool enumerated_ = false;  // the devices present have been announced
  std::vector<std::unique_ptr<HidrawDevice>> devices_;
  std::uint64_t nextId_ = 1;
  std::vector<pollfd> pollFds_;
  std::vector<std::uint64_t> polledIds_;

  std::atomic<bool> closed_{false};
  std::mutex runMutex_;
  std::condition_variable runEnded_;
  bool running_ = false;
  std::thread::id runThread_;
};

}  // namespace taviro::linux_input
