#include "ReplayRun.h"

#include <algorithm>
#include <cstring>

#include "ReplayPlatform.h"
#include "ReplayShortcuts.h"
#include "driver/BTDriverManager.h"

namespace taviro::replay {

void runReplay(const Options& o, const Value::Dict& settings,
               const std::optional<std::string>& shortcuts, const ParsedInput& input,
               std::FILE* out) {
  ReplayPlatform platform(out, o.displays, o.pointer);
  for (const auto& [key, value] : settings) platform.defaults.setObject(key, value);
  if (shortcuts) platform.defaults.setObject(kShortcutSettingsKey, Value(*shortcuts));
  ReplayShortcuts replayShortcuts(platform, out);
  platform.notifications.addObserver(kUpdatePressureNotification, [out](const Notification& n) {
    const Value* v = nullptr;
    if (n.userInfo) {
      auto it = n.userInfo->find(kUpdatePressureKey);
      if (it != n.userInfo->end()) v = &it->second;
    }
    std::fprintf(out, "notify updatePressure pressure=%.2f\n", v ? v->doubleValue() : 0.0);
  });

  // Started as the driver thread starts it, with no device: settings loaded,
  // event connection open (the pen state initialised), display manager set up.
  BTDriverManager driver(platform.platform());
  if (o.showPressure) driver.setShowPressure(true);
  driver.initializeHID();
  driver.initializeScreenSettings();

  std::uint8_t buffer[kReportBufferSize];
  for (const RecordedReport& r : input.reports) {
    // The driver's buffer takes the first 32 bytes of a longer report.
    std::memset(buffer, 0, sizeof buffer);
    std::memcpy(buffer, r.bytes.data(), std::min(r.bytes.size(), sizeof buffer));
    driver.didReceiveReport(buffer, buffer[0]);
    platform.mainQueue.drain();
  }
  std::fflush(out);
}

}  // namespace taviro::replay
