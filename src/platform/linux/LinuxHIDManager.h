#pragma once
// The HID manager on Linux: finds the tablet's hidraw node with libudev,
// follows arrival and removal with a udev monitor, reads input reports from
// hidraw, sends feature reports with HIDIOCSFEATURE and, when opened for
// exclusive use, grabs the tablet's event nodes while it is connected.
//
// One poll() in run() waits on the monitor, every open hidraw node and a
// wake-up descriptor for close(): no busy waiting. Each wake reads one report
// per ready node.
//
// When another program holds the tablet's event nodes (another driver owns
// the tablet), the manager leaves the tablet alone, without reading it, and
// tries again every second until that program lets go.
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
  void retryWaiting();
  HidrawDevice* deviceWithId(std::uint64_t id) const;
  void rebuildPollList();
  void handleMonitor();
  void readReport(HidrawDevice& device);
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
  // Hidraw nodes of tablets another driver owns, by syspath, and when to try them next.
  std::vector<std::string> waiting_;
  std::chrono::steady_clock::time_point nextRetry_;
  // Rebuilt only when the devices change.
  std::vector<pollfd> pollFds_;
  std::vector<std::uint64_t> polledIds_;
  bool pollListStale_ = true;

  std::atomic<bool> closed_{false};
  std::mutex runMutex_;
  std::condition_variable runEnded_;
  bool running_ = false;
  std::thread::id runThread_;
};

}  // namespace taviro::linux_input
