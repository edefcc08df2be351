#include "platform/linux/InputGrab.h"

#include <gtest/gtest.h>

namespace taviro::linux_input {
namespace {

TEST(GrabScope, CoversEventNodesBelowTheTabletOnly) {
  const std::string usb = "/sys/devices/pci0000:00/0000:00:14.0/usb1/1-2";
  EXPECT_TRUE(belongsTo(usb + "/1-2:1.0/0003:6161:4D15.0001/input/input7/event5", usb));
  EXPECT_TRUE(belongsTo(usb + "/1-2:1.1/0003:6161:4D15.0002/input/input8/event6", usb));
  // A sibling port whose name starts the same is another device.
  EXPECT_FALSE(belongsTo("/sys/devices/pci0000:00/0000:00:14.0/usb1/1-23/1-23:1.0/input/input9/event7", usb));
  EXPECT_FALSE(belongsTo(usb, usb));
  EXPECT_FALSE(belongsTo("/sys/devices/virtual/input/input3/event3", ""));
}

}  // namespace
}  // namespace taviro::linux_input
