#pragma once
// A driver for widget tests: in-memory settings, no device, no event posting,
// its main queue on Qt's event loop. It is never started.
#include <memory>

#include "app/BTAppDelegate.h"
#include "driver/BTDriverManager.h"
#include "foundation/UserDefaults.h"
#include "platform/qt/QtDisplayServices.h"
#include "platform/qt/QtMainQueue.h"

namespace taviro::test {

class NoEvents final : public HIDEventSystem {
 public:
  HIDEventSystemOpenResult open() override { return {HIDEventSystemOpen::NoService, -1}; }
  int close() override { return 0; }
  void post(std::uint32_t, IOGPoint, const NXEventData&, std::uint32_t) override {}
};

struct TestDriver {
  TestDriver() {
    DriverPlatform p;
    p.defaults = &defaults;
    p.eventSystem = &events;
    p.displays = &displays;
    p.pointer = &displays;
    p.mainQueue = &queue;
    p.setIsConnect = BTAppDelegate::driverDidChangeConnection;
    driver = std::make_unique<BTDriverManager>(std::move(p));
  }
  // Says the tablet came or went, as the driver's device callbacks do.
  void setConnected(bool connected) {
    driver->setIsConnected(connected);
    driver->postUpdateNotification();
  }

  UserDefaults defaults;
  NoEvents events;
  QtDisplayServices displays;
  QtMainQueue queue;
  std::unique_ptr<BTDriverManager> driver;
};

}  // namespace taviro::test
