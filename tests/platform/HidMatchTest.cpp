#include "platform/linux/HidMatch.h"

#include <gtest/gtest.h>

namespace taviro::linux_input {
namespace {

struct MatchCase {
  const char* hidId;
  bool matches;
};

TEST(TabletMatching, MatchesOnlyTheUsbTabletWithBothIds) {
  const MatchCase cases[] = {
      {"0003:00006161:00004D15", true},
      {"0003:00006161:00004d15", true},  // hex case does not matter
      {"3:6161:4D15", true},
      {"0003:00006161:00004D16", false},  // same vendor, other product
      {"0003:00006162:00004D15", false},
      {"0005:00006161:00004D15", false},  // Bluetooth
      {"0018:00006161:00004D15", false},  // I2C
      {"0003:00006161", false},
      {"0003:00006161:00004D15:1", false},
      {"0003:00006161:", false},
      {"0003:0000616G:00004D15", false},
      {"0003:100006161:00004D15", false},  // too wide
      {" 0003:00006161:00004D15", false},
      {"", false},
  };
  for (const MatchCase& c : cases)
    EXPECT_EQ(matchesTablet(c.hidId, 0x6161, 0x4D15), c.matches) << c.hidId;
}

}  // namespace
}  // namespace taviro::linux_input
