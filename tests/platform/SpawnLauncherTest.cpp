#include "platform/linux/SpawnLauncher.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

namespace taviro::linux_input {
namespace {

namespace fs = std::filesystem;

bool appears(const fs::path& p) {
  for (int i = 0; i < 200 && !fs::exists(p); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  return fs::exists(p);
}

TEST(Opener, StartsTheProgramWithThePathAsItsOnlyArgument) {
  const fs::path dir = fs::temp_directory_path() / ("taviro-open-" + std::to_string(getpid()));
  fs::create_directories(dir);
  // Characters a shell would act on reach the program unchanged.
  const fs::path target = dir / "a b;$(echo x)'.txt";
  SpawnLauncher("touch").openPath(target.string());
  EXPECT_TRUE(appears(target));
  EXPECT_FALSE(fs::exists(dir / "x"));
  fs::remove_all(dir);
}

TEST(Opener, AMissingProgramIsReportedNotStarted) {
  EXPECT_EQ(findProgram("taviro-no-such-program"), "");
  EXPECT_EQ(findProgram("/bin/sh"), "/bin/sh");
  SpawnLauncher("taviro-no-such-program").openPath("/tmp");  // logs, returns
}

}  // namespace
}  // namespace taviro::linux_input
