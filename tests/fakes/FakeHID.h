#pragma once
// A HID manager and its one tablet for tests. The test queues arrivals,
// reports and removals; they are delivered by run() on whichever thread
// services the manager (the driver thread, or the test through runPending()).
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

class FakeHIDManager : public HIDManager, public HIDDevice {
 public:
  std::atomic<std::int32_t> vendor{0}, product{0};  // what the driver matches
  std::atomic<std::uint32_t> options{0};            // what it opened with

  void setDeviceMatching(std::int32_t vendorID, std::int32_t productID) override {
    vendor = vendorID;
    product = productID;
  }
  int open(std::uint32_t openOptions) override {
    options = openOptions;
    return 0;
  }
  void registerDeviceMatchingCallback(DeviceCallback callback) override {
    std::lock_guard lock(mutex_);
    matched_ = std::move(callback);
  }
  void registerDeviceRemovalCallback(DeviceCallback callback) override {
    std::lock_guard lock(mutex_);
    removed_ = std::move(callback);
  }
  void run(std::chrono::milliseconds timeout) override;
  void close() override {
    std::unique_lock lock(mutex_);
    closed_ = true;
    changed_.notify_all();
    changed_.wait(lock, [this] { return !running_; });
  }

  // The tablet: feature reports are recorded, input reports copied into the
  // registered buffer.
  int setFeatureReport(std::uint8_t, const std::uint8_t* bytes, std::size_t length) override {
    std::lock_guard lock(mutex_);
    featureReports_.emplace_back(bytes, bytes + length);
    return 0;
  }
  void registerInputReportCallback(std::uint8_t* buffer, std::size_t size,
                                   InputReportCallback callback) override {
    std::lock_guard lock(mutex_);
    buffer_ = buffer;
    size_ = size;
    input_ = std::move(callback);
  }
  std::vector<std::vector<std::uint8_t>> featureReports() const {
    std::lock_guard lock(mutex_);
    return featureReports_;
  }

  // Queued for the next run(); the tablet is matched only when the driver
  // asked for its ids.
  void plug();
  void report(const std::vector<std::uint8_t>& bytes);
  void unplug();
  // Delivers everything queued so far on the calling thread.
  void runPending() { run(std::chrono::milliseconds(0)); }
  // Waits until the queue is empty and no callback runs (another thread serves it).
  void waitUntilIdle() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return closed_ || (queue_.empty() && !running_); });
  }
  bool closed() const {
    std::lock_guard lock(mutex_);
    return closed_;
  }

 private:
  void enqueue(std::function<void()> work) {
    std::lock_guard lock(mutex_);
    queue_.push_back(std::move(work));
    changed_.notify_all();
  }
  void deviceEvent(const DeviceCallback& which, bool matches);

  mutable std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<std::function<void()>> queue_;
  bool running_ = false;
  bool closed_ = false;
  DeviceCallback matched_;
  DeviceCallback removed_;
  std::vector<std::vector<std::uint8_t>> featureReports_;
  std::uint8_t* buffer_ = nullptr;
  std::size_t size_ = 0;
  InputReportCallback input_;
};

// A factory for the driver that hands out managers the test keeps hold of,
// in the order the driver created them.
class FakeHIDManagerFactory {
 public:
  HIDManagerFactory factory();
  std::vector<std::shared_ptr<FakeHIDManager>> managers() const {
    std::lock_guard lock(mutex_);
    return managers_;
  }
  std::shared_ptr<FakeHIDManager> latest() const {
    std::lock_guard lock(mutex_);
    return managers_.empty() ? nullptr : managers_.back();
  }

 private:
  mutable std::mutex mutex_;
  std::vector<std::shared_ptr<FakeHIDManager>> managers_;
};

}  // namespace taviro::fakes
