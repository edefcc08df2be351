#include "FakeHID.h"

#include <algorithm>

#include "driver/TabletSettings.h"

namespace taviro::fakes {

int FakeHIDDevice::setFeatureReport(std::uint8_t, const std::uint8_t* bytes, std::size_t length) {
  std::lock_guard lock(mutex_);
  featureReports_.emplace_back(bytes, bytes + length);
  return 0;
}

void FakeHIDDevice::registerInputReportCallback(std::uint8_t* buffer, std::size_t size,
                                                InputReportCallback callback) {
  std::lock_guard lock(mutex_);
  buffer_ = buffer;
  size_ = size;
  callback_ = std::move(callback);
}

void FakeHIDDevice::deliver(const std::vector<std::uint8_t>& report) {
  std::uint8_t* buffer;
  std::size_t n;
  InputReportCallback callback;
  {
    std::lock_guard lock(mutex_);
    if (!callback_) return;
    buffer = buffer_;
    n = std::min(size_, report.size());
    callback = callback_;
  }
  std::copy_n(report.begin(), n, buffer);
  callback(report.empty() ? 0 : report[0], buffer, n);
}

std::vector<std::vector<std::uint8_t>> FakeHIDDevice::featureReports() const {
  std::lock_guard lock(mutex_);
  return featureReports_;
}

void FakeHIDManager::registerDeviceMatchingCallback(DeviceCallback callback) {
  std::lock_guard lock(mutex_);
  matched_ = std::move(callback);
}

void FakeHIDManager::registerDeviceRemovalCallback(DeviceCallback callback) {
  std::lock_guard lock(mutex_);
  removed_ = std::move(callback);
}

void FakeHIDManager::run(std::chrono::milliseconds timeout) {
  std::unique_lock lock(mutex_);
  changed_.wait_for(lock, timeout, [this] { return closed_ || !queue_.empty(); });
  if (closed_) return;
  running_ = true;
  while (!queue_.empty() && !closed_) {
    std::function<void()> work = std::move(queue_.front());
    queue_.pop_front();
    lock.unlock();
    work();
    lock.lock();
  }
  running_ = false;
  changed_.notify_all();
}

void FakeHIDManager::close() {
  std::unique_lock lock(mutex_);
  closed_ = true;
  changed_.notify_all();
  changed_.wait(lock, [this] { return !running_; });
}

void FakeHIDManager::plug() {
  std::lock_guard lock(mutex_);
  queue_.push_back([this] {
    DeviceCallback callback;
    {
      std::lock_guard inner(mutex_);
      if (vendor_ != kTabletVendorID || product_ != kTabletProductID) return;
      callback = matched_;
    }
    if (callback) callback(device_);
  });
  changed_.notify_all();
}

void FakeHIDManager::report(const std::vector<std::uint8_t>& bytes) {
  std::lock_guard lock(mutex_);
  queue_.push_back([this, bytes] { device_.deliver(bytes); });
  changed_.notify_all();
}

void FakeHIDManager::unplug() {
  std::lock_guard lock(mutex_);
  queue_.push_back([this] {
    DeviceCallback callback;
    {
      std::lock_guard inner(mutex_);
      callback = removed_;
    }
    if (callback) callback(device_);
  });
  changed_.notify_all();
}

void FakeHIDManager::waitUntilIdle() {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [this] { return closed_ || (queue_.empty() && !running_); });
}

bool FakeHIDManager::closed() const {
  std::lock_guard lock(mutex_);
  return closed_;
}

namespace {
// The driver owns what the factory returns; the test keeps the manager itself.
class ManagerHandle : public HIDManager {
 public:
  explicit ManagerHandle(std::shared_ptr<FakeHIDManager> m) : m_(std::move(m)) {}
  void setDeviceMatching(std::int32_t v, std::int32_t p) override { m_->setDeviceMatching(v, p); }
  int open(std::uint32_t options) override { return m_->open(options); }
  void registerDeviceMatchingCallback(DeviceCallback c) override {
    m_->registerDeviceMatchingCallback(std::move(c));
  }
  void registerDeviceRemovalCallback(DeviceCallback c) override {
    m_->registerDeviceRemovalCallback(std::move(c));
  }
  void run(std::chrono::milliseconds timeout) override { m_->run(timeout); }
  void close() override { m_->close(); }

 private:
  std::shared_ptr<FakeHIDManager> m_;
};
}  // namespace

HIDManagerFactory FakeHIDManagerFactory::factory() {
  return [this]() -> std::unique_ptr<HIDManager> {
    auto manager = std::make_shared<FakeHIDManager>();
    {
      std::lock_guard lock(mutex_);
      managers_.push_back(manager);
    }
    return std::make_unique<ManagerHandle>(manager);
  };
}

std::vector<std::shared_ptr<FakeHIDManager>> FakeHIDManagerFactory::managers() const {
  std::lock_guard lock(mutex_);
  return managers_;
}

std::shared_ptr<FakeHIDManager> FakeHIDManagerFactory::latest() const {
  std::lock_guard lock(mutex_);
  return managers_.empty() ? nullptr : managers_.back();
}

}  // namespace taviro::fakes
