#pragma once
// Builds a driver on the fakes, and tablet reports from their fields: shared
// by the driver and display tests and the driver benchmark.
#include <memory>
#include <vector>

#include "FakePlatform.h"
#include "driver/BTDriverManager.h"

namespace taviro::testing {

using Types = std::vector<std::uint32_t>;  // posted event types, in order

// Identity mapping: tablet and screen areas both 65535 units wide, so a
// decoded position lands on the same screen coordinates.
inline Value::Dict identityMapping() {
  const Value area(Value::Array{0.0, 0.0, 65535.0, 65535.0});
  return {{DriverKeys::screenArea, area}, {DriverKeys::tabletArea, area}};
}

// Bytes 0-7 of a report: status in byte 1, X and Y in the bit field (X's
// lowest bit is bit 7 of the status byte), raw pressure in bytes 6-7.
inline std::vector<std::uint8_t> tabletReport(std::uint8_t status, std::uint32_t x, std::uint32_t y,
                                              std::uint16_t pressure = 0) {
  const std::uint64_t w = (std::uint64_t{x} << 7) | (std::uint64_t{y} << 23);
  std::vector<std::uint8_t> r(8, 0);
  r[0] = 0x08;
  for (int i = 0; i < 5; ++i) r[1 + i] = static_cast<std::uint8_t>(w >> (8 * i));
  r[1] = status;
  r[6] = static_cast<std::uint8_t>(pressure);
  r[7] = static_cast<std::uint8_t>(pressure >> 8);
  return r;
}

inline std::vector<std::uint8_t> expressKeyReport(int key) {
  std::vector<std::uint8_t> r(8, 0);
  r[0] = 0x08;
  r[1] = 0xE0;
  r[4] = static_cast<std::uint8_t>(key);
  r[5] = static_cast<std::uint8_t>(key >> 8);
  return r;
}

struct DriverHarness {
  explicit DriverHarness(Value::Dict stored = identityMapping(),
                         std::vector<Rect> displays = {Rect(0, 0, 1920, 1080)})
      : fakes(std::move(stored), std::move(displays)) {}

  // The driver started as the driver thread would, without a thread. Posts go
  // to `events` when given (a sink that drops them), else to the recording fake.
  BTDriverManager& start(HIDEventSystem* events = nullptr) {
    DriverPlatform platform = fakes.platform();
    if (events) platform.eventSystem = events;
    driver = std::make_unique<BTDriverManager>(platform);
    driver->initializeHID();
    driver->initializeScreenSettings();
    fakes.events.clear();
    return *driver;
  }

  void feed(const std::vector<std::uint8_t>& report) { driver->didReceiveReport(report.data(), report[0]); }

  fakes::FakePlatform fakes;
  std::unique_ptr<BTDriverManager> driver;
};

}  // namespace taviro::testing
