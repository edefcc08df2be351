#include <gtest/gtest.h>

#include <sstream>

#include "ReplayInput.h"
#include "ReplayOptions.h"

namespace taviro::replay {
namespace {

TEST(ReplayInput, AcceptsReportsWithOrWithoutTimeStamps) {
  std::istringstream in(
      "# header\n\n0.004125: 08 c1 34 12 78 56 00 10\n08 C0 00 00 00 00 00 00 FF\n");
  const ParsedInput p = parseReports(in);
  ASSERT_FALSE(p.error);
  ASSERT_EQ(p.reports.size(), 2u);
  EXPECT_EQ(p.reports[0].line, 3);
  EXPECT_EQ(p.reports[0].bytes,
            (std::vector<std::uint8_t>{0x08, 0xC1, 0x34, 0x12, 0x78, 0x56, 0x00, 0x10}));
  EXPECT_EQ(p.reports[1].bytes.size(), 9u);
}

TEST(ReplayInput, RejectsMalformedLinesWithTheirNumber) {
  const char* bad[] = {
      "08 C1 00 00 00 00 00",        // 7 bytes
      "08C1 00 00 00 00 00 00 00",   // pair run together
      "0x08 C1 00 00 00 00 00 00",   // prefix
      ":08 C1 00 00 00 00 00 00",    // empty time stamp
      "-1: 08 C1 00 00 00 00 00 00", // negative time
      "1: ",                         // nothing after the time stamp
  };
  for (const char* line : bad) {
    std::istringstream in(std::string("08 C0 00 00 00 00 00 00\n") + line + "\n");
    const ParsedInput p = parseReports(in);
    ASSERT_TRUE(p.error) << line;
    EXPECT_EQ(p.error->line, 2) << line;
    EXPECT_TRUE(p.reports.empty());
  }
}

TEST(ReplayOptions, ParsesDisplaysPointerAndFile) {
  const ParsedOptions p = parseOptions({"--displays", "1920x1080+0+0,1280x1024+-1280+56",
                                        "--pointer", "10.5,-3", "--show-pressure", "in.txt"});
  ASSERT_FALSE(p.error);
  EXPECT_EQ(p.options.displays,
            (std::vector<Rect>{Rect(0, 0, 1920, 1080), Rect(-1280, 56, 1280, 1024)}));
  EXPECT_EQ(p.options.pointer, (Point{10.5, -3}));
  EXPECT_TRUE(p.options.showPressure);
  EXPECT_EQ(p.options.reportsFile, "in.txt");
  for (const char* bad : {"1920x1080", "0x1080+0+0", "axb+0+0", "1920x1080+0+0,", ""})
    EXPECT_FALSE(parseDisplays(bad)) << bad;
  EXPECT_TRUE(parseOptions({"a.txt", "b.txt"}).error);
}

}  // namespace
}  // namespace taviro::replay
