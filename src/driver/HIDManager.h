#pragma once
// The device connection: finds the tablet by USB vendor and product id, opens
// it for exclusive use, reports arrival and removal, delivers input reports
// into the driver's buffer, and sends feature reports to the device.
//
// Threading: a manager is serviced by run(), called in a loop by the driver
// thread; every callback runs inside run() on that thread. close() may be
// called from another thread: it wakes a run() in progress and returns once
// that run() has returned, so no callback of the manager runs after close().
// Only one manager delivers reports to the driver at a time.
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>

namespace taviro {

// open() option: take the device for exclusive use.
inline constexpr std::uint32_t kIOHIDOptionsTypeNone = 0;
inline constexpr std::uint32_t kIOHIDOptionsTypeSeizeDevice = 1;

// One matched device; valid from its matching callback until its removal
// callback has returned, or until the manager's close() has returned.
class HIDDevice {
 public:
  using InputReportCallback =
      std::function<void(std::uint32_t reportId, const std::uint8_t* report, std::size_t length)>;

  virtual ~HIDDevice() = default;
  // Sends a feature report; 0 on success.
  virtual int setFeatureReport(std::uint8_t reportId, const std::uint8_t* bytes,
                               std::size_t length) = 0;
  // From now on each input report is copied into `buffer` (at most `size`
  // bytes) and `callback` runs with a pointer into it. The buffer must outlive
  // the device.
  virtual void registerInputReportCallback(std::uint8_t* buffer, std::size_t size,
                                           InputReportCallback callback) = 0;
};

class HIDManager {
 public:
  using DeviceCallback = std::function<void(HIDDevice& device)>;

  virtual ~HIDManager() = default;
  // Devices that match; set before open().
  virtual void setDeviceMatching(std::int32_t vendorID, std::int32_t productID) = 0;
  // Starts watching for matching devices; 0 on success. Devices already
  // present are announced by the first run().
  virtual int open(std::uint32_t options) = 0;
  virtual void registerDeviceMatchingCallback(DeviceCallback callback) = 0;
  virtual void registerDeviceRemovalCallback(DeviceCallback callback) = 0;
  // Waits up to `timeout` for arrivals, removals and input reports and runs
  // their callbacks; returns at once after close().
  virtual void run(std::chrono::milliseconds timeout) = 0;
  virtual void close() = 0;
};

// Creates a new, unopened manager (one per initializeHID).
using HIDManagerFactory = std::function<std::unique_ptr<HIDManager>()>;

}  // namespace taviro
