#include <chrono>
#include <cstdlib>
#include <optional>
#include <utility>

#include "driver/BTDriverManager.h"
#include "driver/ReportDecoding.h"
#include "foundation/Log.h"

namespace taviro {

namespace {

std::mutex g_sharedMutex;
std::optional<DriverPlatform> g_sharedPlatform;
BTDriverManager* g_shared = nullptr;

constexpr std::chrono::milliseconds kStartDelay{100};
constexpr std::chrono::milliseconds kRunLoopSlice{300'000};

}  // namespace

BTDriverManager::BTDriverManager(DriverPlatform platform) : platform_(std::move(platform)) {
  initConfig();
}

BTDriverManager::~BTDriverManager() { shutdown(); }

void BTDriverManager::configureShared(DriverPlatform platform) {
  std::lock_guard lock(g_sharedMutex);
  g_sharedPlatform = std::move(platform);
}

BTDriverManager& BTDriverManager::shared() {
  std::lock_guard lock(g_sharedMutex);
  if (!g_shared) {
    if (!g_sharedPlatform) {
      logBare("BTDriverManager::shared() used before configureShared(); cannot build the driver");
      std::abort();
    }
    // Lives for the life of the process, like the thread it starts.
    g_shared = new BTDriverManager(*g_sharedPlatform);
    g_shared->start();
  }
  return *g_shared;
}

BTScreenManager& BTScreenManager::shared() { return BTDriverManager::shared().screenManager(); }

void BTDriverManager::start() {
  isBackgroundLoopActive_ = true;
  platform_.mainQueue->after(kStartDelay, [this] {
    if (!isBackgroundLoopActive_ || backgroundThread_.joinable()) return;
    backgroundThread_ = std::thread([this] { runDriverInBackground(); });
  });
}

void BTDriverManager::runDriverInBackground() {
  initializeHID();
  initializeScreenSettings();
  while (isBackgroundLoopActive_) {
    std::shared_ptr<HIDManager> manager;
    {
      std::unique_lock lock(hidMutex_);
      hidChanged_.wait(lock, [this] { return hidManager_ || !isBackgroundLoopActive_; });
      if (!isBackgroundLoopActive_) break;
      manager = hidManager_;
    }
    manager->run(kRunLoopSlice);
  }
}

void BTDriverManager::installHIDManager(std::shared_ptr<HIDManager> manager) {
  std::shared_ptr<HIDManager> previous;
  {
    std::lock_guard lock(hidMutex_);
    previous = std::exchange(hidManager_, std::move(manager));
  }
  hidChanged_.notify_all();
  if (previous) previous->close();
}

std::shared_ptr<HIDManager> BTDriverManager::takeHIDManager() {
  std::shared_ptr<HIDManager> previous;
  {
    std::lock_guard lock(hidMutex_);
    previous = std::exchange(hidManager_, nullptr);
  }
  hidChanged_.notify_all();
  return previous;
}

void BTDriverManager::initializeHID() {
  constexpr const char* kMethod = "-[BTDriverManager initializeHID]";
  TAVIRO_LOG(kMethod, kLogInfo, "initializing HID device");
  std::shared_ptr<HIDManager> manager;
  if (platform_.hidManagerFactory) manager = platform_.hidManagerFactory();
  if (manager) {
    manager->setDeviceMatching(tabletSettings_.vendorID, tabletSettings_.productID);
    manager->open(kIOHIDOptionsTypeSeizeDevice);
  }
  TAVIRO_LOG(kMethod, kLogInfo, "Connectred to manager. Registering callbacks");
  if (manager) {
    manager->registerDeviceRemovalCallback([this](HIDDevice& device) { didRemoveDevice(device); });
    manager->registerDeviceMatchingCallback([this](HIDDevice& device) { didConnectDevice(device); });
  }
  if (openHIDService() == 0) {
    TAVIRO_LOG(kMethod, kLogInfo, "opening HID service");
    initializeStylus();
  } else {
    TAVIRO_LOG(kMethod, kLogWarn, "error opening HID service");
  }
  // Handed to the driver thread last, so that no report arrives before the
  // pen state is initialised.
  if (manager) installHIDManager(std::move(manager));
}

int BTDriverManager::openHIDService() {
  constexpr const char* kMethod = "-[BTDriverManager openHIDService]";
  if (const int closed = closeHIDService(); closed != 0) return closed;
  const HIDEventSystemOpenResult r =
      platform_.eventSystem ? platform_.eventSystem->open()
                            : HIDEventSystemOpenResult{HIDEventSystemOpen::NoService, 0};
  switch (r.outcome) {
    case HIDEventSystemOpen::Opened:
      gEventDriver_ = 1;
      TAVIRO_LOG(kMethod, kLogInfo, "created global event driver");
      return 0;
    case HIDEventSystemOpen::NoMasterPort:
      TAVIRO_LOG(kMethod, kLogWarn, "error closing port before opening");
      return r.result;
    case HIDEventSystemOpen::NoService:
      TAVIRO_LOG(kMethod, kLogWarn, "error opning port");
      return 0;
    case HIDEventSystemOpen::OpenFailed:
      TAVIRO_LOG(kMethod, kLogWarn, "error opening service");
      return r.result;
  }
  return r.result;
}

int BTDriverManager::closeHIDService() {
  if (gEventDriver_.exchange(0) == 0) return 0;
  return platform_.eventSystem ? platform_.eventSystem->close() : 0;
}

void BTDriverManager::didConnectDevice(HIDDevice& device) {
  currentDeviceRef_ = &device;
  issueCommand(device, kTabletStartCommand);
  TAVIRO_LOG("-[BTDriverManager didConnectDevice:withContext:result:sender:]", kLogInfo,
             "tablet connected");
  device.registerInputReportCallback(
      reportBuffer, kReportBufferSize,
      [this](std::uint32_t reportId, const std::uint8_t*, std::size_t length) {
        // A report shorter than the bytes the driver reads would leave the
        // previous report's bytes in the buffer; such a report is dropped.
        if (length < kReportBytesRead) {
          if (!warnedShortReport_.exchange(true))
            TAVIRO_LOG("-[BTDriverManager didReceiveReport:withID:]", kLogWarn,
                       "ignoring input reports shorter than %zu bytes (got %zu)", kReportBytesRead,
                       length);
          return;
        }
        didReceiveReport(reportBuffer, reportId);
      });
  setIsConnected(true);
  postUpdateNotification();
}

void BTDriverManager::didRemoveDevice(HIDDevice& /*device*/) { deviceRemoved(); }

void BTDriverManager::deviceRemoved() {
  endStrokeOnRemoval();
  currentDeviceRef_ = nullptr;
  TAVIRO_LOG("-[BTDriverManager didRemoveDevice:withContext:result:sender:]", kLogInfo,
             "tablet removed - cleaned up references");
  setIsConnected(false);
  postUpdateNotification();
}

void BTDriverManager::endStrokeOnRemoval() {
  // A pen that vanishes mid-stroke would leave the tip (and any key its
  // shortcut holds) pressed: finish the stroke as the pen lifting and
  // leaving would.
  stylus_ = oldStylus_;
  stylus_.button_click = false;
  stylus_.button_mask = 0;
  stylus_.motion = {};
  stylus_.pressure = 0;
  if ((oldStylus_.button_mask & kMaskTip) != 0) {
    TAVIRO_LOG("-[BTDriverManager didRemoveDevice:withContext:result:sender:]", kLogInfo,
               ">>>mouseUp -drag ended");
    postButtonEvent(NX_LMOUSEUP, 0);
  }
  releaseKeys(unlatchedKeysDown_);
  stylus_.pen_near = false;
  if (!stylus_.off_tablet) {
    stylus_.off_tablet = true;
    postProximityEvent();
    TAVIRO_LOG("-[BTDriverManager didRemoveDevice:withContext:result:sender:]", kLogInfo,
               ">>>Stylus has exited proximity");
  }
  isDragging_ = false;
  oldStylus_ = stylus_;
  flushPosts();
}

int BTDriverManager::issueCommand(HIDDevice& device, const std::uint8_t* command) {
  return device.setFeatureReport(command[0], command, sizeof kTabletStartCommand);
}

void BTDriverManager::reinitialize() {
  constexpr const char* kMethod = "-[BTDriverManager reinitialize]";
  TAVIRO_LOG(kMethod, kLogInfo, "Reinitializing driver");
  // Stop the old manager first: once close() returns it delivers nothing, so
  // the removal below and the new manager never race with its reports. The
  // closed manager's device is gone, so the removal is emulated without it.
  if (const std::shared_ptr<HIDManager> old = takeHIDManager()) old->close();
  if (isConnected_ && currentDeviceRef_) {
    TAVIRO_LOG(kMethod, kLogInfo, "Device was connected, emulating device remove");
    deviceRemoved();
  }
  closeHIDService();
  initializeHID();
}

void BTDriverManager::setIsConnected(bool connected) {
  if (platform_.setIsConnect) platform_.setIsConnect(connected);
  isConnected_ = connected;
}

void BTDriverManager::postUpdateNotification() {
  center().post(kDriverDidChangeStatusNotification, this);
}

void BTDriverManager::shutdown() {
  isBackgroundLoopActive_ = false;
  const std::shared_ptr<HIDManager> manager = takeHIDManager();
  if (manager) manager->close();
  if (backgroundThread_.joinable()) {
    if (backgroundThread_.get_id() == std::this_thread::get_id())
      backgroundThread_.detach();
    else
      backgroundThread_.join();
  }
  closeHIDService();
}

}  // namespace taviro
