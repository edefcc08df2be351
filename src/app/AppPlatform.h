#pragma once
// The platform pieces Taviro hands its driver: Qt's screens and event loop,
// the settings store, and the device adapters (the Linux ones where they are
// built; without them the driver runs with no device).
#include <QString>
#include <functional>
#include <memory>

#include "driver/DriverPlatform.h"

namespace taviro {

class AppPlatform {
 public:
  // `resourcesDir` holds the default shortcuts ("shortcut.json").
  explicit AppPlatform(const QString& resourcesDir);
  ~AppPlatform();

  DriverPlatform driverPlatform(std::function<void(bool)> setIsConnect);

 private:
  struct Parts;
  std::unique_ptr<Parts> parts_;
};

}  // namespace taviro
