#pragma once
// Every fake a driver needs, wired into one DriverPlatform. Tests change the
// fakes (displays, stored settings, shortcuts) before building the driver.
#include <memory>

#include "FakeDisplays.h"
#include "FakeEventSystem.h"
#include "FakeHID.h"
#include "FakeShortcuts.h"
#include "FakeStorage.h"
#include "ManualMainQueue.h"
#include "driver/DriverPlatform.h"

namespace taviro::fakes {

struct FakePlatform {
  explicit FakePlatform(Value::Dict stored = {},
                        std::vector<Rect> displayBounds = {Rect(0, 0, 1920, 1080)})
      : storage(new MemoryDefaultsStorage(std::move(stored))),
        defaults(std::unique_ptr<DefaultsStorage>(storage)),
        displays(displayBounds) {}

  MemoryDefaultsStorage* storage;  // owned by `defaults`
  UserDefaults defaults;
  RecordingEventSystem events;
  FakeHIDManagerFactory hid;
  FakeDisplayServices displays;
  FakePointer pointer;
  ManualMainQueue mainQueue;
  NotificationCenter notifications;
  FakeShortcuts shortcuts;
  std::vector<bool> connectCalls;  // what setIsConnect was told

  DriverPlatform platform() {
    DriverPlatform p;
    p.defaults = &defaults;
    p.eventSystem = &events;
    p.hidManagerFactory = hid.factory();
    p.displays = &displays;
    p.pointer = &pointer;
    p.mainQueue = &mainQueue;
    p.notifications = &notifications;
    p.shortcutLookup = &shortcuts;
    p.shortcutRunner = &shortcuts;
    p.shortcutStore = &shortcuts;
    p.setIsConnect = [this](bool connected) { connectCalls.push_back(connected); };
    return p;
  }
};

}  // namespace taviro::fakes
