#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "foundation/Log.h"

namespace taviro {
namespace {

std::vector<std::string> g_lines;
void capture(std::string_view line) { g_lines.emplace_back(line); }

TEST(Log, DriverLinesCarryMethodLineAndLevel) {
  g_lines.clear();
  const LogSink previous = setLogSink(&capture);
  logMethod("-[BTDriverManager initializeHID]", 42, kLogInfo, "initializing %s", "HID device");
  logMethod("-[BTDriverManager openHIDService]", 7, kLogWarn, "error opening service");
  logBare("Updated Screen Mapping: %.2f", 1.0);
  setLogSink(previous);
  EXPECT_EQ(g_lines, (std::vector<std::string>{
                         "-[BTDriverManager initializeHID][Line 42] [info] initializing HID device",
                         "-[BTDriverManager openHIDService][Line 7] [-warn-] error opening service",
                         "Updated Screen Mapping: 1.00"}));
}

TEST(Log, OverlongLinesAreCutNotOverrun) {
  g_lines.clear();
  const LogSink previous = setLogSink(&capture);
  const std::string big(5000, 'x');
  logMethod("m", 1, kLogInfo, "%s", big.c_str());
  setLogSink(previous);
  ASSERT_EQ(g_lines.size(), 1u);
  EXPECT_EQ(g_lines[0].size(), 1023u);
}

}  // namespace
}  // namespace taviro
