#pragma once
// The platform the replay tool runs the driver on: every effect is printed
// as one line on the output stream. Shortcut lookups come from an optional
// store (none: every command is empty); the hand-off prints when the main
// queue runs it.
#include <cstdio>
#include <deque>
#include <functional>
#include <memory>
#include <vector>

#include "display/ScreenGeometry.h"
#include "driver/DriverPlatform.h"
#include "foundation/UserDefaults.h"

namespace taviro::replay {

// post type=... lines.
class PrintingEventSystem : public HIDEventSystem {
 public:
  explicit PrintingEventSystem(std::FILE* out) : out_(out) {}
  HIDEventSystemOpenResult open() override { return {}; }
  int close() override { return 0; }
  void post(std::uint32_t type, IOGPoint location, const NXEventData& data,
            std::uint32_t options) override;

 private:
  std::FILE* out_;
};

// shortcut key=K down=D command="TEXT" lines, each followed by what `next`
// (the command executor, when one is set) does with the command.
class PrintingShortcutRunner : public ShortcutRunner {
 public:
  explicit PrintingShortcutRunner(std::FILE* out) : out_(out) {}
  void sendKeyboard(const std::string& command, bool down, int key) override;

  ShortcutRunner* next = nullptr;

 private:
  std::FILE* out_;
};

class FixedDisplays : public DisplayServices {
 public:
  // Top-left bounds, the first the main display.
  explicit FixedDisplays(const std::vector<Rect>& bounds) : displays_(displaysFromBounds(bounds)) {}
  std::vector<Display> activeDisplays() const override { return displays_; }
  std::optional<Display> mainDisplay() const override { return yk_objectAtIndex(displays_, 0); }

 private:
  std::vector<Display> displays_;
};

class FixedPointer : public PointerLocation {
 public:
  explicit FixedPointer(Point p) : p_(p) {}
  Point location() const override { return p_; }

 private:
  Point p_;
};

// Work queued for the main thread runs when drain() is called; delayed work
// is never run (the replay starts the driver by hand, with no thread).
class DrainedMainQueue : public MainQueue {
 public:
  void async(std::function<void()> work) override { queue_.push_back(std::move(work)); }
  void after(std::chrono::milliseconds, std::function<void()>) override {}
  void drain();

 private:
  std::deque<std::function<void()>> queue_;
};

// Everything wired together; `shortcutLookup` may be set before platform()
// (the shortcut store, when one is given).
struct ReplayPlatform {
  ReplayPlatform(std::FILE* out, const std::vector<Rect>& displayBounds, Point pointer);

  UserDefaults defaults;  // in memory: the replay never touches the user's settings
  PrintingEventSystem events;
  PrintingShortcutRunner runner;
  FixedDisplays displays;
  FixedPointer pointer;
  DrainedMainQueue mainQueue;
  NotificationCenter notifications;
  ShortcutLookup* shortcutLookup = nullptr;
  ShortcutSettingsStore* shortcutStore = nullptr;

  DriverPlatform platform();
};

}  // namespace taviro::replay
