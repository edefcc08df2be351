#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "HeadlessDisplays.h"
#include "LoopQueue.h"
#include "ReportRecorder.h"
#include "platform/linux/UinputPen.h"

namespace taviro {
namespace {

TEST(DisplayOption, ReadsSizeAndOptionalOrigin) {
  EXPECT_EQ(parseDisplayGeometry("1920x1080"), Rect(0, 0, 1920, 1080));
  EXPECT_EQ(parseDisplayGeometry("1280x1024+1920+56"), Rect(1920, 56, 1280, 1024));
  EXPECT_EQ(parseDisplayGeometry("1280x1024-1280+0"), Rect(-1280, 0, 1280, 1024));
  for (const char* bad : {"", "1920", "1920x", "x1080", "0x1080", "1920x1080+5", "1920x1080+5+5+5",
                          "1920x1080 ", "axb"})
    EXPECT_EQ(parseDisplayGeometry(bad), std::nullopt) << bad;
}

TEST(HeadlessDisplays, GiveFramesFromTheMainDisplaysBottomLeft) {
  const HeadlessDisplays displays({Rect(0, 0, 1920, 1080), Rect(1920, 56, 1280, 1024)});
  const auto all = displays.activeDisplays();
  ASSERT_EQ(all.size(), 2u);
  EXPECT_EQ(all[1].frame, Rect(1920, 0, 1280, 1024));
  EXPECT_EQ(displays.mainDisplay()->bounds, Rect(0, 0, 1920, 1080));
  EXPECT_EQ(displays.location(), (Point{960, 540}));
  EXPECT_EQ(HeadlessDisplays({}).mainDisplay()->bounds, Rect(0, 0, 1920, 1080));
}

TEST(VirtualPenRange, CoversTheUnionOfAllDisplays) {
  // A display left of and below the main one widens the range both ways.
  EXPECT_EQ(linux_input::desktopOf(HeadlessDisplays({Rect(0, 0, 1920, 1080), Rect(-1280, 200, 1280, 1024)})),
            (linux_input::DesktopRange{-1280, 0, 3200, 1224}));
}

TEST(Recording, WritesTimeAndUppercaseHexBytes) {
  const std::uint8_t report[] = {0x08, 0xC1, 0x34, 0x12, 0x78, 0x56, 0x00, 0x10};
  EXPECT_EQ(formatReportLine(0.004125, report, sizeof report), "0.004125: 08 C1 34 12 78 56 00 10");
}

// Programs that shortcuts start must not inherit the open recording.
TEST(Recording, FileIsClosedOnExec) {
  namespace fs = std::filesystem;
  const fs::path path = fs::temp_directory_path() / ("taviro-record-" + std::to_string(getpid()));
  ReportRecorder recorder;
  ASSERT_TRUE(recorder.open(path.string()));
  int flags = -1;
  for (const auto& fd : fs::directory_iterator("/proc/self/fd")) {
    std::error_code ec;
    if (fs::read_symlink(fd.path(), ec) == path)
      flags = fcntl(std::stoi(fd.path().filename().string()), F_GETFD);
  }
  recorder.close();
  fs::remove(path);
  ASSERT_NE(flags, -1);
  EXPECT_TRUE(flags & FD_CLOEXEC);
}

TEST(LoopQueue, RunsWorkInOrderAndDelayedWorkWhenDue) {
  LoopQueue queue;
  std::vector<int> order;
  queue.after(std::chrono::milliseconds(30), [&] {
    order.push_back(3);
    queue.stop();
  });
  queue.async([&] { order.push_back(1); });
  queue.async([&] { order.push_back(2); });
  queue.run();
  EXPECT_EQ(order, (std::vector<int>{1, 2, 3}));
}

}  // namespace
}  // namespace taviro
