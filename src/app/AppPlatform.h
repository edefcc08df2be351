#pragma once
// The platform pieces of Taviro: what it hands its driver (Qt's screens and
// event loop, the settings store, the device adapters: the Linux ones where
// they are built; without them the driver runs with no device), and what the
// panel needs of the system (settings files, the privileged runner's way to
// ask for administrator's rights).
#include <QString>
#include <functional>
#include <memory>
#include <optional>

#include "driver/DriverPlatform.h"
#include "foundation/Value.h"

namespace taviro {

class Configure;
class PrivilegedExecutor;

class AppPlatform {
 public:
  // `resourcesDir` holds the default shortcuts ("shortcut.json").
  explicit AppPlatform(const QString& resourcesDir);
  ~AppPlatform();

  DriverPlatform driverPlatform(std::function<void(bool)> setIsConnect);
  // The shortcut store the driver looks its commands up in.
  Configure& shortcuts();

 private:
  struct Parts;
  std::unique_ptr<Parts> parts_;
};

// Exported settings files (XML property lists). Without property-list support
// built in, none can be read or written.
bool settingsFilesSupported();
struct SettingsFileRead {
  std::optional<Value::Dict> dictionary;  // nothing when the file could not be read
  QString error;                          // why not
};
SettingsFileRead readSettingsFile(const QString& path);
// Writes atomically; empty on success, otherwise why not.
QString writeSettingsFile(const QString& path, const Value::Dict& dictionary);

// The system's way to run a command with administrator's rights; null where
// there is none.
std::unique_ptr<PrivilegedExecutor> systemPrivilegedExecutor();

}  // namespace taviro
