#pragma once
// The application on a driver for widget tests: settings kept in memory
// (`storage` holds what was saved), the default shortcuts, no device, no
// event posting; the driver is never started. Each app meets at a
// socket of its own and keeps out of the user's autostart folder.
#include <QApplication>
#include <QTemporaryDir>
#include <QTest>
#include <QUuid>
#include <memory>

#include "../fakes/FakeStorage.h"
#include "app/BTAppDelegate.h"
#include "driver/BTDriverManager.h"
#include "foundation/UserDefaults.h"
#include "platform/qt/QtDisplayServices.h"
#include "shortcuts/Configure.h"

namespace taviro::test {

// The top-level windows of type W that are shown.
template <class W>
QList<W*> shownWindows() {
  QList<W*> shown;
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* window = qobject_cast<W*>(w); window && window->isVisible()) shown << window;
  return shown;
}

struct TestApp {
  // Without a tray the panel is an ordinary window without a status item.
  // `placed`: whether windows place themselves (false as on Wayland).
  explicit TestApp(bool tray = true, bool placed = true) {
    BTAppDelegate::Options options;
    options.instanceName =
        QStringLiteral("taviro-test-") + QUuid::createUuid().toString(QUuid::Id128);
    options.autostartDir = dir.path();
    options.trayAvailable = tray;
    options.createStatusIcon = tray;
    options.windowsPlaceThemselves = placed;
    options.createDriver = [this]() -> BTDriverManager& { return driver; };
    options.shortcuts = [this]() -> Configure& { return shortcuts; };
    delegate = std::make_unique<BTAppDelegate>(std::move(options));
  }

  // The start-up sequence, then the automatic first click.
  bool start() {
    return delegate->applicationDidFinishLaunching() &&
           QTest::qWaitFor([this] { return delegate->notFirstShow(); });
  }

  QTemporaryDir dir;
  fakes::MemoryDefaultsStorage& storage = *new fakes::MemoryDefaultsStorage;  // defaults owns it
  UserDefaults defaults{std::unique_ptr<DefaultsStorage>(&storage)};
  Configure shortcuts{defaults, TAVIRO_DATA_DIR "/shortcut.json"};
  QtDisplayServices displays;
  BTDriverManager driver{DriverPlatform{.defaults = &defaults,
                                        .displays = &displays,
                                        .pointer = &displays,
                                        .shortcutLookup = &shortcuts,
                                        .shortcutStore = &shortcuts,
                                        .setIsConnect = BTAppDelegate::driverDidChangeConnection}};
  std::unique_ptr<BTAppDelegate> delegate;
};

}  // namespace taviro::test
