#include "platform/linux/LinuxHIDManager.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace taviro::linux_input {
namespace {

using namespace std::chrono_literals;

// Against the machine's udev (no tablet here), opened or not: a run() left
// waiting would hold the thread for ten minutes, the join would hang and the
// test time out. A run after close returns at once, and closing twice is
// harmless.
TEST(HIDManagerLoop, CloseFromAnotherThreadWakesARunInProgress) {
  for (const bool opened : {true, false}) {
    LinuxHIDManager manager;
    manager.setDeviceMatching(0x6161, 0x4D15);
    if (opened) ASSERT_EQ(manager.open(kIOHIDOptionsTypeSeizeDevice), 0);
    std::thread driverThread([&] { manager.run(600s); });
    std::this_thread::sleep_for(50ms);
    manager.close();
    driverThread.join();
    manager.run(600s);
    manager.close();
  }
}

}  // namespace
}  // namespace taviro::linux_input
