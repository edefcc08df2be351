#pragma once
// The application on a driver for widget tests: in-memory settings, no
// device, no event posting; the driver is never started. Each app meets at a
// socket of its own and keeps out of the user's autostart folder.
#include <QTemporaryDir>
#include <QTest>
#include <QUuid>
#include <memory>

#include "app/BTAppDelegate.h"
#include "driver/BTDriverManager.h"
#include "foundation/UserDefaults.h"
#include "platform/qt/QtDisplayServices.h"

namespace taviro::test {

struct TestApp {
  // Without a tray the panel is an ordinary window without a status item.
  explicit TestApp(bool tray = true) {
    BTAppDelegate::Options options;
    options.instanceName =
        QStringLiteral("taviro-test-") + QUuid::createUuid().toString(QUuid::Id128);
    options.autostartDir = dir.path();
    options.trayAvailable = tray;
    options.createStatusIcon = tray;
    options.createDriver = [this]() -> BTDriverManager& { return driver; };
    delegate = std::make_unique<BTAppDelegate>(std::move(options));
  }

  // The start-up sequence, then the automatic first click.
  bool start() {
    return delegate->applicationDidFinishLaunching() &&
           QTest::qWaitFor([this] { return delegate->notFirstShow(); });
  }

  QTemporaryDir dir;
  UserDefaults defaults;
  QtDisplayServices displays;
  BTDriverManager driver{DriverPlatform{.defaults = &defaults,
                                        .displays = &displays,
                                        .pointer = &displays,
                                        .setIsConnect = BTAppDelegate::driverDidChangeConnection}};
  std::unique_ptr<BTAppDelegate> delegate;
};

}  // namespace taviro::test
