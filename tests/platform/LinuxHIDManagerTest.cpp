#include "platform/linux/LinuxHIDManager.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace taviro::linux_input {
namespace {

using namespace std::chrono_literals;

// These run against the machine's udev: no tablet is plugged in here.
class HIDManagerLoop : public ::testing::Test {
 protected:
  void SetUp() override {
    manager.setDeviceMatching(0x6161, 0x4D15);
    manager.registerDeviceMatchingCallback([this](HIDDevice&) { ++matched; });
    ASSERT_EQ(manager.open(kIOHIDOptionsTypeSeizeDevice), 0);
  }
  LinuxHIDManager manager;
  std::atomic<int> matched{0};
};

// A run() left waiting would hold the thread for ten minutes: the join would
// hang and the test time out.
TEST_F(HIDManagerLoop, CloseFromAnotherThreadWakesARunInProgress) {
  std::thread driverThread([&] { manager.run(600s); });
  std::this_thread::sleep_for(50ms);
  manager.close();
  driverThread.join();
}

TEST_F(HIDManagerLoop, RunAfterCloseReturnsAtOnceAndCloseTwiceIsHarmless) {
  manager.close();
  manager.run(600s);
  manager.close();
}

TEST_F(HIDManagerLoop, AMachineWithoutTheTabletAnnouncesNothing) {
  manager.run(20ms);
  manager.run(20ms);
  EXPECT_EQ(matched, 0);
}

TEST(HIDManagerUnopened, CloseEndsAWaitingRun) {
  LinuxHIDManager manager;
  std::thread driverThread([&] { manager.run(600s); });
  std::this_thread::sleep_for(20ms);
  manager.close();
  driverThread.join();
}

}  // namespace
}  // namespace taviro::linux_input
