#include "FakeHID.h"

#include <algorithm>

#include "driver/TabletSettings.h"

namespace taviro::fakes {

void FakeHIDManager::run(std::chrono::milliseconds timeout) {
  std::unique_lock lock(mutex_);
  changed_.wait_for(lock, timeout, [this] { return closed_ || !queue_.empty(); });
  running_ = !closed_;
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

// Each delivery takes its callback under the lock and runs it outside.
void FakeHIDManager::plug() {
  enqueue([this] { deviceEvent(matched_, vendor == kTabletVendorID && product == kTabletProductID); });
}

void FakeHIDManager::unplug() {
  enqueue([this] { deviceEvent(removed_, true); });
}

void FakeHIDManager::deviceEvent(const DeviceCallback& which, bool matches) {
  std::unique_lock lock(mutex_);
  if (!matches || !which) return;
  DeviceCallback callback = which;
  lock.unlock();
  callback(*this);
}

void FakeHIDManager::report(const std::vector<std::uint8_t>& bytes) {
  enqueue([this, bytes] {
    std::unique_lock lock(mutex_);
    if (!input_) return;
    const std::size_t n = std::min(size_, bytes.size());
    std::copy_n(bytes.begin(), n, buffer_);
    InputReportCallback callback = input_;
    lock.unlock();
    callback(bytes.empty() ? 0 : bytes[0], buffer_, n);
  });
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
    std::lock_guard lock(mutex_);
    managers_.push_back(manager);
    return std::make_unique<ManagerHandle>(manager);
  };
}

}  // namespace taviro::fakes
