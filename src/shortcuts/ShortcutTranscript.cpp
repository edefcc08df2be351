#include "shortcuts/ShortcutTranscript.h"

#include <cinttypes>
#include <cstdio>

#include "shortcuts/InputEmulator.h"

namespace taviro {

ShortcutTranscript::~ShortcutTranscript() {
  if (!center_) return;
  center_->removeObserver(downKey_);
  center_->removeObserver(monitor_);
}

void ShortcutTranscript::observe(NotificationCenter& center) {
  center_ = &center;
  downKey_ = center.addObserver(std::string(kDownKeyNotification), [this](const Notification& n) {
    const Value* kid = nullptr;
    if (n.userInfo)
      if (auto it = n.userInfo->find("kid"); it != n.userInfo->end()) kid = &it->second;
    sink_("notify DownKey kid=" + (kid ? std::to_string(kid->int64Value()) : std::string("?")));
  });
  monitor_ = center.addObserver(std::string(kMonitorNotification),
                                [this](const Notification&) { sink_("notify Monitor"); });
}

void ShortcutTranscript::postKeyboardEvent(std::uint16_t virtualKey, std::uint64_t flags,
                                           bool down) {
  char line[80];
  std::snprintf(line, sizeof line, "key code=%u flags=0x%" PRIx64 " down=%d", unsigned{virtualKey},
                flags, down ? 1 : 0);
  sink_(line);
}

void ShortcutTranscript::postModifierKeyEvent(std::uint16_t keyCode, bool down) {
  sink_("modkey code=" + std::to_string(keyCode) + " down=" + (down ? "1" : "0"));
}

void ShortcutTranscript::postMouseEvent(std::uint32_t button, std::uint32_t eventType,
                                        std::int64_t clickCount) {
  sink_("mouse button=" + std::to_string(button) + " type=" + std::to_string(eventType) +
        " clicks=" + std::to_string(clickCount));
}

void ShortcutTranscript::postScrollEvent(std::int32_t pixels) {
  sink_("scroll pixels=" + std::to_string(pixels));
}

void ShortcutTranscript::openPath(const std::string& path) { sink_("open path=" + path); }

}  // namespace taviro
