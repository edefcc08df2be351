#pragma once
// Fakes of the executor's outputs. Every effect is recorded as one line in the
// replay tool's output format, so expectations read like its transcripts.
#include <cinttypes>
#include <cstdio>
#include <string>
#include <vector>

#include "shortcuts/ProcessLauncher.h"
#include "shortcuts/SyntheticInput.h"

namespace taviro::test {

class FakeSyntheticInput : public SyntheticInput {
 public:
  void postKeyboardEvent(std::uint16_t virtualKey, std::uint64_t flags, bool down) override {
    char line[96];
    std::snprintf(line, sizeof line, "key code=%u flags=0x%" PRIx64 " down=%d", virtualKey, flags,
                  down ? 1 : 0);
    lines.emplace_back(line);
  }
  void postModifierKeyEvent(std::uint16_t keyCode, bool down) override {
    lines.push_back("modkey code=" + std::to_string(keyCode) + " down=" + (down ? "1" : "0"));
  }
  void postMouseEvent(std::uint32_t button, std::uint32_t eventType,
                      std::int64_t clickCount) override {
    lines.push_back("mouse button=" + std::to_string(button) + " type=" +
                    std::to_string(eventType) + " clicks=" + std::to_string(clickCount));
  }
  void postScrollEvent(std::int32_t pixels) override {
    lines.push_back("scroll pixels=" + std::to_string(pixels));
  }

  std::vector<std::string>& lines;
  explicit FakeSyntheticInput(std::vector<std::string>& sink) : lines(sink) {}
};

class FakeProcessLauncher : public ProcessLauncher {
 public:
  explicit FakeProcessLauncher(std::vector<std::string>& sink) : lines(sink) {}
  void openPath(const std::string& path) override { lines.push_back("open path=" + path); }
  std::vector<std::string>& lines;
};

}  // namespace taviro::test
