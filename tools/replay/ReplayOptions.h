#pragma once
// Command line of taviro-replay:
//   taviro-replay [--settings FILE] [--shortcuts FILE] [--displays LIST]
//                 [--pointer X,Y] [--show-pressure] [REPORTS-FILE]
#include <optional>
#include <string>
#include <vector>

#include "foundation/Geometry.h"

namespace taviro::replay {

struct Options {
  std::optional<std::string> settingsFile;
  std::optional<std::string> shortcutsFile;  // a JSON shortcut document
  std::vector<Rect> displays{Rect(0, 0, 1920, 1080)};  // top-left bounds, main first
  Point pointer;
  bool showPressure = false;
  std::optional<std::string> reportsFile;  // standard input when none
  bool help = false;
};

struct ParsedOptions {
  Options options;
  std::optional<std::string> error;
};

ParsedOptions parseOptions(const std::vector<std::string>& args);

// "WIDTHxHEIGHT+X+Y[,...]"; none when malformed.
std::optional<std::vector<Rect>> parseDisplays(const std::string& text);
std::optional<Point> parsePoint(const std::string& text);

inline constexpr const char* kUsage =
    "usage: taviro-replay [--settings FILE] [--shortcuts FILE] [--displays LIST] [--pointer X,Y] "
    "[--show-pressure] [REPORTS-FILE]";

}  // namespace taviro::replay
