#pragma once
// The tablet driver: user settings, device connection, report decoding,
// smoothing, pressure, pen state and event posting.
//
// Threads: setters, initConfig, saveSettings, clearConfig, the mapping
// updates and reinitialize run on the main thread; device callbacks, report
// decoding and event posting on the driver thread. Settings the driver thread
// reads are atomic or guarded.
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>

#include "display/BTScreenManager.h"
#include "driver/DriverPlatform.h"
#include "driver/StylusState.h"
#include "driver/TabletSettings.h"
#include "foundation/Geometry.h"
#include "foundation/Guarded.h"

namespace taviro {

inline constexpr const char* kDriverDidChangeStatusNotification = "BTDriverManagerDidChangeStatus";
inline constexpr const char* kUpdatePressureNotification = "updatePressure";
inline constexpr const char* kUpdatePressureKey = "pressure";

// User-defaults keys of the driver settings.
namespace DriverKeys {
inline constexpr const char* pressure = "com.pelmora.nivoltDriver.pressureKey";
inline constexpr const char* smoothing = "com.pelmora.nivoltDriver.smoothingKey";
inline constexpr const char* offset = "com.pelmora.nivoltDriver.offsetKey";
inline constexpr const char* rotation = "com.pelmora.nivoltDriver.rotation";
inline constexpr const char* enableMouse = "com.pelmora.nivoltDriver.enableMouse";
inline constexpr const char* enableShortcut = "com.pelmora.nivoltDriver.enableShortcut";
inline constexpr const char* displayId = "com.pelmora.nivoltDriver.displayId";
inline constexpr const char* screenArea = "com.pelmora.nivoltDriver.screenArea";
inline constexpr const char* tabletArea = "com.pelmora.nivoltDriver.tabletArea";
inline constexpr const char* pressureDeadZone = "com.pelmora.nivoltDriver.pressureDeadZone";
inline constexpr const char* shortcutSettings = "com.pelmora.nivoltDriver.shortcutSettings";
}  // namespace DriverKeys

// The start-up feature report that puts the tablet into its reporting mode.
inline constexpr std::uint8_t kTabletStartCommand[3] = {0x02, 0x10, 0x01};
inline constexpr std::size_t kReportBufferSize = 32;

class BTDriverManager {
 public:
  // Loads the settings (initConfig). Starts nothing: start() does.
  explicit BTDriverManager(DriverPlatform platform);
  ~BTDriverManager();  // shutdown()
  BTDriverManager(const BTDriverManager&) = delete;
  BTDriverManager& operator=(const BTDriverManager&) = delete;

  // The process-wide driver: configureShared once at start-up, then shared()
  // creates it on first call and starts it.
  static void configureShared(DriverPlatform platform);
  static BTDriverManager& shared();

  // ---- Settings
  float pressureDamping() const { return pressureDamping_; }
  void setPressureDamping(float damping);
  float pressureMod() const { return pressureMod_; }
  float pressureDeadZone() const { return pressureDeadZone_; }
  void setPressureDeadZone(float deadZone);
  int smoothingLevel() const { return smoothingLevel_; }
  void setSmoothingLevel(int level);
  Point cursorOffset() const { return cursorOffset_.load(); }
  void setCursorOffset(Point offset);
  int tabletRotation() const { return tabletRotation_; }
  void setTabletRotation(int degrees);
  bool enableMouse() const { return enableMouse_; }
  void setEnableMouse(bool on);
  bool enableShourtcut() const { return enableShourtcut_; }
  void setEnableShourtcut(bool on);
  int displayId() const { return displayId_; }
  void setDisplayId(int index);
  Rect screenArea() const { return screenArea_.load(); }
  void setScreenArea(Rect area);
  Rect tabletArea() const { return tabletArea_.load(); }
  void setTabletArea(Rect area);
  bool showPressure() const { return showPressure_; }
  void setShowPressure(bool on);
  Rect tabletMapping() const { return tabletMapping_.load(); }
  // -1 in a component stands for its default (0, 0, tabletWidth, tabletHeight).
  void setTabletMapping(Rect mapping);
  void updateTabletMapping();
  void initializeScreenSettings();
  void updateScreenSettings();

  // What the driver was built on (the settings store, the displays...).
  const DriverPlatform& platform() const { return platform_; }
  // The record the display manager and the mapping editor share.
  TabletSettings& tabletSettings() { return tabletSettings_; }
  // The display manager, created by the first initializeScreenSettings (or
  // screenManager()).
  BTScreenManager& screenManager();

  void initConfig();
  void saveSettings();
  void clearConfig();

  // ---- Reports (driver thread)
  void didReceiveReport(const std::uint8_t* report, std::uint32_t reportId);
  bool calculateXYCoordsWithReport(const std::uint8_t* report);
  static std::int32_t intWithBits(const std::int32_t* bits, int startIndex, int length);

  // ---- Pen state and events (driver thread)
  void initializeStylus();
  void updateStylusStatus();
  void postProximityEvent();
  void postMoveOrDragEvent(std::uint32_t type);
  void postButtonEvent(std::uint32_t type, int buttonNumber);
  const StylusState& stylus() const { return stylus_; }
  const StylusState& oldStylus() const { return oldStylus_; }
  bool isDragging() const { return isDragging_; }

  // ---- Device connection and lifecycle
  // init's delayed start: 0.1 s later, on the main queue, starts the driver
  // thread (runDriverInBackground).
  void start();
  // The driver thread: initializeHID, initializeScreenSettings, then services
  // the current HID manager until shutdown().
  void runDriverInBackground();
  void initializeHID();
  int openHIDService();
  int closeHIDService();
  void didConnectDevice(HIDDevice& device);
  void didRemoveDevice(HIDDevice& device);
  int issueCommand(HIDDevice& device, const std::uint8_t* command);
  // Main thread: stops the HID manager (it delivers nothing more), emulates
  // the removal of a connected device, closes the event connection and
  // builds a new HID manager, which the driver thread then services.
  void reinitialize();
  bool isConnected() const { return isConnected_; }
  void setIsConnected(bool connected);
  void postUpdateNotification();
  // Ends the driver thread and closes the HID manager and the event
  // connection. Safe to call more than once.
  void shutdown();

  std::uint8_t reportBuffer[kReportBufferSize] = {};

 private:
  struct Smoothing {
    int counter = 0;
    double x[3] = {};
    double y[3] = {};
  };

  NotificationCenter& center() const;
  void postPressure(float normalised);
  void runShortcut(int key, bool down);
  // Runs the up call of every key held before the report being applied and
  // clears their latches; `pressedBefore` holds express keys 11-16 of them.
  void releaseKeys(std::uint16_t pressedBefore);
  void deviceRemoved();
  void endStrokeOnRemoval();
  void installHIDManager(std::shared_ptr<HIDManager> manager);
  std::shared_ptr<HIDManager> takeHIDManager();
  void post(std::uint32_t type, const NXEventData& data, std::uint32_t options);
  // Sends the posts of the report just handled (HIDEventSystem::flush).
  void flushPosts();

  DriverPlatform platform_;

  std::atomic<float> pressureDamping_{0.5f};
  std::atomic<float> pressureMod_{1.0f};
  std::atomic<float> pressureDeadZone_{0.0f};
  std::atomic<int> smoothingLevel_{4};
  Guarded<Point> cursorOffset_;
  std::atomic<int> tabletRotation_{0};
  std::atomic<bool> enableMouse_{false};
  std::atomic<bool> enableShourtcut_{true};
  std::atomic<int> displayId_{0};
  Guarded<Rect> screenArea_;
  Guarded<Rect> tabletArea_;
  std::atomic<bool> showPressure_{false};
  Guarded<Rect> tabletMapping_;
  TabletSettings tabletSettings_;

  std::once_flag screenManagerOnce_;
  std::unique_ptr<BTScreenManager> screenManager_;
  // Set once the display manager exists: the report path's way to it.
  std::atomic<BTScreenManager*> screenManagerCreated_{nullptr};

  // Driver-thread state.
  // Copies of the mapping settings the main thread sets: read without a lock
  // while they stay the same.
  GuardedCopy<Rect> driverThreadTabletMapping_;
  GuardedCopy<Point> driverThreadCursorOffset_;
  // The "updatePressure" user info, updated in place for every report.
  Value::Dict pressureInfo_{{kUpdatePressureKey, Value(0.0)}};
  bool postsToFlush_ = false;
  StylusState stylus_;
  StylusState oldStylus_;
  Smoothing smoothing_;
  bool isDragging_ = false;
  // Express keys 11-16 (ids 10-15) whose press ran a shortcut: they have no
  // latch in the pen state, yet their release must run the up call too.
  std::uint16_t unlatchedKeysDown_ = 0;
  std::int16_t eventNumber_ = 0;

  // Connection state.
  std::atomic<std::uint32_t> gEventDriver_{0};
  std::atomic<bool> isConnected_{false};
  std::atomic<HIDDevice*> currentDeviceRef_{nullptr};
  std::atomic<bool> isBackgroundLoopActive_{true};
  std::atomic<bool> warnedShortReport_{false};
  std::mutex hidMutex_;
  std::condition_variable hidChanged_;
  std::shared_ptr<HIDManager> hidManager_;
  std::thread backgroundThread_;
};

}  // namespace taviro
