#pragma once
// A HID manager and tablet for tests. The test queues arrivals, reports and
// removals; they are delivered by run() on whichever thread services the
// manager (the driver thread, or the test itself through runPending()).
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "driver/HIDManager.h"

namespace taviro::fakes {

class FakeHIDDevice : public HIDDevice {
 public:
  int setFeatureReport(std::uint8_t reportId, const std::uint8_t* bytes,
                       std::size_t length) override;
  void registerInputReportCallback(std::uint8_t* buffer, std::size_t size,
                                   InputReportCallback callback) override;

  // Copies the report into the registered buffer and runs the callback.
  void deliver(const std::vector<std::uint8_t>& report);
  std::vector<std::vector<std::uint8_t>> featureReports() const;

 private:
  mutable std::mutex mutex_;
  std::vector<std::vector<std::uint8_t>> featureReports_;
  std::uint8_t* buffer_ = nullptr;
  std::size_t size_ = 0;
  InputReportCallback callback_;
};

class FakeHIDManager : public HIDManager {
 public:
  void setDeviceMatching(std::int32_t vendorID, std::int32_t productID) override {
    vendor_ = vendorID;
    product_ = productID;
  }
  int open(std::uint32_t options) override {
    options_ = options;
    return 0;
  }
  void registerDeviceMatchingCallback(DeviceCallback callback) override;
  void registerDeviceRemovalCallback(DeviceCallback callback) override;
  void run(std::chrono::milliseconds timeout) override;
  void close() override;

  // Queued for the next run(); the tablet is matched only when the driver
  // asked for its ids.
  void plug();
  void report(const std::vector<std::uint8_t>& bytes);
  void unplug();
  // Delivers everything queued so far on the calling thread.
  void runPending() { run(std::chrono::milliseconds(0)); }
  // Waits until the queue is empty and no callback runs (another thread serves it).
  void waitUntilIdle();

  FakeHIDDevice& device() { return device_; }
  std::int32_t matchedVendor() const { return vendor_; }
  std::int32_t matchedProduct() const { return product_; }
  std::uint32_t openOptions() const { return options_; }
  bool closed() const;

 private:
  mutable std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<std::function<void()>> queue_;
  bool running_ = false;
  bool closed_ = false;
  std::atomic<std::int32_t> vendor_{0};
  std::atomic<std::int32_t> product_{0};
  std::atomic<std::uint32_t> options_{0};
  DeviceCallback matched_;
  DeviceCallback removed_;
  FakeHIDDevice device_;
};

// A factory for the driver that hands out managers the test keeps hold of:
// managers()[i] is the i-th manager the driver created.
class FakeHIDManagerFactory {
 public:
  HIDManagerFactory factory();
  std::vector<std::shared_ptr<FakeHIDManager>> managers() const;
  std::shared_ptr<FakeHIDManager> latest() const;

 private:
  mutable std::mutex mutex_;
  std::vector<std::shared_ptr<FakeHIDManager>> managers_;
};

}  // namespace taviro::fakes
