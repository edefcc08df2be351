#include "app/AppPlatform.h"

#include "foundation/Log.h"
#include "foundation/UserDefaults.h"
#include "platform/qt/QtDisplayServices.h"
#include "platform/qt/QtMainQueue.h"
#include "shortcuts/Configure.h"
#include "shortcuts/InputEmulator.h"

#if TAVIRO_WITH_PLIST
#include "platform/plist/PlistDefaultsStorage.h"
#include "platform/plist/PlistFile.h"
#endif
#if TAVIRO_WITH_LINUX
#include "platform/linux/LinuxHIDManager.h"
#include "platform/linux/PkexecExecutor.h"
#include "platform/linux/SpawnLauncher.h"
#include "platform/linux/UinputKeyboard.h"
#include "platform/linux/UinputPen.h"
#endif

namespace taviro {
namespace {

// The same settings file as the headless driver.
std::unique_ptr<DefaultsStorage> settingsStorage() {
#if TAVIRO_WITH_PLIST
  return std::make_unique<PlistDefaultsStorage>();
#else
  logBare("settings are kept for this run only: no settings file support was built in");
  return nullptr;
#endif
}

}  // namespace

struct AppPlatform::Parts {
  explicit Parts(const QString& resourcesDir)
      : defaults(settingsStorage()),
        shortcuts(defaults, (resourcesDir + QStringLiteral("/shortcut.json")).toStdString())
#if TAVIRO_WITH_LINUX
        ,
        pen(displays),
        emulator(keyboard, launcher)
#endif
  {
  }

  QtDisplayServices displays;
  QtMainQueue mainQueue;
  UserDefaults defaults;
  Configure shortcuts;
#if TAVIRO_WITH_LINUX
  linux_input::UinputPen pen;
  linux_input::UinputKeyboard keyboard;
  linux_input::SpawnLauncher launcher;
  InputEmulator emulator;
#endif
};

AppPlatform::AppPlatform(const QString& resourcesDir)
    : parts_(std::make_unique<Parts>(resourcesDir)) {}

AppPlatform::~AppPlatform() = default;

Configure& AppPlatform::shortcuts() { return parts_->shortcuts; }

DriverPlatform AppPlatform::driverPlatform(std::function<void(bool)> setIsConnect) {
  DriverPlatform p;
  p.defaults = &parts_->defaults;
  p.displays = &parts_->displays;
  p.pointer = &parts_->displays;
  p.mainQueue = &parts_->mainQueue;
  p.shortcutLookup = &parts_->shortcuts;
  p.shortcutStore = &parts_->shortcuts;
#if TAVIRO_WITH_LINUX
  p.eventSystem = &parts_->pen;
  p.hidManagerFactory = [] { return std::make_unique<linux_input::LinuxHIDManager>(); };
  p.shortcutRunner = &parts_->emulator;
#endif
  p.setIsConnect = std::move(setIsConnect);
  return p;
}

bool settingsFilesSupported() {
#if TAVIRO_WITH_PLIST
  return true;
#else
  return false;
#endif
}

SettingsFileRead readSettingsFile([[maybe_unused]] const QString& path) {
#if TAVIRO_WITH_PLIST
  PlistReadResult read = readPlistDictionary(path.toStdString());
  if (read.status == PlistReadStatus::Ok) return {std::move(read.dictionary), {}};
  return {std::nullopt, QString::fromStdString(read.error)};
#else
  return {std::nullopt, QStringLiteral("no settings file support was built in")};
#endif
}

QString writeSettingsFile([[maybe_unused]] const QString& path,
                          [[maybe_unused]] const Value::Dict& dictionary) {
#if TAVIRO_WITH_PLIST
  std::string error;
  if (writePlistDictionary(path.toStdString(), dictionary, &error)) return {};
  return QString::fromStdString(error);
#else
  return QStringLiteral("no settings file support was built in");
#endif
}

std::unique_ptr<PrivilegedExecutor> systemPrivilegedExecutor() {
#if TAVIRO_WITH_LINUX
  return std::make_unique<linux_input::PkexecExecutor>();
#else
  return nullptr;
#endif
}

}  // namespace taviro
