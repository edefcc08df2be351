#pragma once
// Everything the driver takes from its surroundings. The application fills
// one at start-up for the shared driver (BTDriverManager::configureShared);
// tests and tools fill one with fakes and build their own driver. Pointers
// are not owned and must outlive the driver. `displays` is required, and
// `mainQueue` for start(); everything else may be left empty (no store: the
// defaults apply and nothing is saved; no event system: posts go nowhere).
#include <functional>

#include "display/DisplayServices.h"
#include "driver/HIDEventSystem.h"
#include "driver/HIDManager.h"
#include "driver/ShortcutHandOff.h"
#include "foundation/MainQueue.h"
#include "foundation/NotificationCenter.h"
#include "foundation/UserDefaults.h"

namespace taviro {

struct DriverPlatform {
  UserDefaults* defaults = nullptr;
  HIDEventSystem* eventSystem = nullptr;
  HIDManagerFactory hidManagerFactory;  // empty: no device is ever found
  const DisplayServices* displays = nullptr;
  const PointerLocation* pointer = nullptr;
  MainQueue* mainQueue = nullptr;
  NotificationCenter* notifications = nullptr;  // null: the default centre
  ShortcutLookup* shortcutLookup = nullptr;  // null: every command is empty
  ShortcutRunner* shortcutRunner = nullptr;  // null: hand-offs run nothing
  ShortcutSettingsStore* shortcutStore = nullptr;
  // Tells the status item about connection changes (setIsConnect); main or
  // driver thread.
  std::function<void(bool connected)> setIsConnect;
};

}  // namespace taviro
