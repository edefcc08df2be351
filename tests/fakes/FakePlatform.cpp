#include "FakePlatform.h"

namespace taviro::fakes {

namespace {
std::unique_ptr<MemoryDefaultsStorage> makeStorage(Value::Dict stored, MemoryDefaultsStorage** out) {
  auto storage = std::make_unique<MemoryDefaultsStorage>(std::move(stored));
  *out = storage.get();
  return storage;
}
}  // namespace

FakePlatform::FakePlatform(Value::Dict stored, std::vector<Rect> displayBounds)
    : storage(nullptr),
      defaults(makeStorage(std::move(stored), &storage)),
      displays(displayBounds) {}

DriverPlatform FakePlatform::platform() {
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

}  // namespace taviro::fakes
