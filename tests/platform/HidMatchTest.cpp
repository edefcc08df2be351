#include "platform/linux/HidMatch.h"

#include <gtest/gtest.h>

namespace taviro::linux_input {
namespace {

struct MatchCase {
  const char* hidId;
  bool matches;
};

class TabletMatching : public ::testing::TestWithParam<MatchCase> {};

TEST_P(TabletMatching, MatchesOnlyTheUsbTabletWithBothIds) {
  EXPECT_EQ(matchesTablet(GetParam().hidId, 0x6161, 0x4D15), GetParam().matches)
      << GetParam().hidId;
}

INSTANTIATE_TEST_SUITE_P(
    HidIds, TabletMatching,
    ::testing::Values(MatchCase{"0003:00006161:00004D15", true},
                      MatchCase{"0003:00006161:00004d15", true},  // hex case does not matter
                      MatchCase{"3:6161:4D15", true},
                      MatchCase{"0003:00006161:00004D16", false},  // same vendor, other product
                      MatchCase{"0003:00006162:00004D15", false},
                      MatchCase{"0005:00006161:00004D15", false},  // Bluetooth
                      MatchCase{"0018:00006161:00004D15", false},  // I2C
                      MatchCase{"0003:00006161", false},
                      MatchCase{"0003:00006161:00004D15:1", false},
                      MatchCase{"0003:00006161:", false},
                      MatchCase{"0003:0000616G:00004D15", false},
                      MatchCase{"0003:100006161:00004D15", false},  // too wide
                      MatchCase{"", false}));

TEST(HidIdParsing, ReadsBusVendorAndProduct) {
  EXPECT_EQ(parseHidId("0003:0000046D:0000C52B"), (HidId{3, 0x046D, 0xC52B}));
  EXPECT_EQ(parseHidId(" 0003:0000046D:0000C52B"), std::nullopt);
}

}  // namespace
}  // namespace taviro::linux_input
