#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "foundation/Log.h"

namespace taviro {
namespace {

std::vector<std::string> g_lines;

TEST(Log, DriverLinesCarryMethodLineAndLevelAndOverlongLinesAreCut) {
  const LogSink previous = setLogSink([](std::string_view line) { g_lines.emplace_back(line); });
  logMethod("-[BTDriverManager initializeHID]", 42, kLogInfo, "initializing %s", "HID device");
  logMethod("-[BTDriverManager openHIDService]", 7, kLogWarn, "error opening service");
  logBare("Updated Screen Mapping: %.2f", 1.0);
  logMethod("m", 1, kLogInfo, "%s", std::string(5000, 'x').c_str());
  setLogSink(previous);
  ASSERT_EQ(g_lines.size(), 4u);
  EXPECT_EQ(g_lines[0], "-[BTDriverManager initializeHID][Line 42] [info] initializing HID device");
  EXPECT_EQ(g_lines[1], "-[BTDriverManager openHIDService][Line 7] [-warn-] error opening service");
  EXPECT_EQ(g_lines[2], "Updated Screen Mapping: 1.00");
  EXPECT_EQ(g_lines[3].size(), 1023u);  // the buffer's size, not overrun
}

}  // namespace
}  // namespace taviro
