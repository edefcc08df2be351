// Feeds arbitrary report streams under arbitrary settings through the
// driver, the way taviro-replay does: the input is the replay tool's text,
// optionally followed by a NUL and bytes that choose the settings (each
// driver key absent, or an integer, real, boolean, string or array of reals
// of any value), the displays and the pressure display. The default
// shortcuts run through the command executor. The sanitizers are the check:
// no report and no setting may crash the driver or do anything undefined.
#include <fstream>
#include <iterator>
#include <sstream>

#include "../FuzzCheck.h"
#include "ReplayInput.h"
#include "ReplayRun.h"
#include "driver/BTDriverManager.h"

namespace {

using taviro::Value;
using taviro::fuzz::Bytes;

constexpr const char* kKeys[] = {
    taviro::DriverKeys::pressure,     taviro::DriverKeys::smoothing,
    taviro::DriverKeys::offset,       taviro::DriverKeys::rotation,
    taviro::DriverKeys::enableMouse,  taviro::DriverKeys::enableShortcut,
    taviro::DriverKeys::displayId,    taviro::DriverKeys::screenArea,
    taviro::DriverKeys::tabletArea,   taviro::DriverKeys::pressureDeadZone,
};

Value::Dict settingsFrom(Bytes& b) {
  Value::Dict settings;
  for (const char* key : kKeys) {
    switch (b.take<std::uint8_t>() % 6) {
      case 0: break;
      case 1: settings[key] = Value(b.take<std::int64_t>()); break;
      case 2: settings[key] = Value(b.take<double>()); break;
      case 3: settings[key] = Value(b.flag()); break;
      case 4: settings[key] = Value("x"); break;
      case 5: {
        Value::Array reals(b.take<std::uint8_t>() % 6);
        for (Value& r : reals) r = Value(b.take<double>());
        settings[key] = Value(std::move(reals));
      }
    }
  }
  return settings;
}

// One display, two side by side, or a second one left of and above the main one.
std::vector<taviro::Rect> displaysFrom(Bytes& b) {
  using taviro::Rect;
  switch (b.take<std::uint8_t>() % 3) {
    case 1: return {Rect(0, 0, 1920, 1080), Rect(1920, 0, 1280, 1024)};
    case 2: return {Rect(0, 0, 2560, 1440), Rect(-1280, -200, 1280, 1024)};
    default: return {Rect(0, 0, 1920, 1080)};
  }
}

std::string defaultShortcuts() {
  std::ifstream in(TAVIRO_DEFAULT_SHORTCUTS);
  return {std::istreambuf_iterator<char>(in), {}};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static std::FILE* const sink = std::fopen("/dev/null", "w");
  static const std::string shortcuts = defaultShortcuts();
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::size_t nul = input.find('\0');
  Bytes choices(nul == std::string_view::npos ? std::string_view() : input.substr(nul + 1));

  std::istringstream text{std::string(input.substr(0, nul))};
  const taviro::replay::ParsedInput reports = taviro::replay::parseReports(text);
  if (reports.error) return 0;
  taviro::replay::Options options;
  options.displays = displaysFrom(choices);
  options.showPressure = choices.flag();
  const Value::Dict settings = settingsFrom(choices);
  taviro::replay::runReplay(options, settings, shortcuts, reports, sink);
  return 0;
}
