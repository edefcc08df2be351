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
                        std::vector<Rect> displayBounds = {Rect(0, 0, 1920, 1080)});

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

  DriverPlatform platform();
};

}  // namespace taviro::fakes
