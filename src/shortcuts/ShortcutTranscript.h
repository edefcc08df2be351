#pragma once
// Writes what the command executor does as one text line per effect, for the
// replay tool's output and for tests:
//   key code=C flags=0xF down=D     a chord (virtual key, modifier flags in hex)
//   modkey code=C down=D            the modifiers-only key event
//   mouse button=B type=T clicks=N  a mouse-button event
//   scroll pixels=S                 a pixel scroll
//   open path=PATH                  a file or application opened
//   notify DownKey kid=K            the executor's notifications
//   notify Monitor
#include <functional>
#include <string>

#include "foundation/NotificationCenter.h"
#include "shortcuts/ProcessLauncher.h"
#include "shortcuts/SyntheticInput.h"

namespace taviro {

class ShortcutTranscript : public SyntheticInput, public ProcessLauncher {
 public:
  using Sink = std::function<void(const std::string& line)>;

  explicit ShortcutTranscript(Sink sink) : sink_(std::move(sink)) {}
  ~ShortcutTranscript() override;

  // Also writes the executor's notifications posted on `center`, until this
  // transcript is destroyed.
  void observe(NotificationCenter& center);

  void postKeyboardEvent(std::uint16_t virtualKey, std::uint64_t flags, bool down) override;
  void postModifierKeyEvent(std::uint16_t keyCode, bool down) override;
  void postMouseEvent(std::uint32_t button, std::uint32_t eventType,
                      std::int64_t clickCount) override;
  void postScrollEvent(std::int32_t pixels) override;
  void openPath(const std::string& path) override;

 private:
  Sink sink_;
  NotificationCenter* center_ = nullptr;
  NotificationCenter::Token downKey_ = 0;
  NotificationCenter::Token monitor_ = 0;
};

}  // namespace taviro
