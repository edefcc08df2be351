#include "platform/linux/KeyCodes.h"

#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>
#include <string>

namespace taviro::linux_input {
namespace {

// Every row of the reference table (virtual key code → Linux key code) holds.
TEST(VirtualKeyMap, MapsEveryKeyOfTheReferenceTable) {
  std::ifstream csv(TAVIRO_KEYCODE_CSV);
  ASSERT_TRUE(csv) << TAVIRO_KEYCODE_CSV;
  std::string line;
  std::getline(csv, line);  // header
  std::set<int> listed;  // the table lists each code once
  while (std::getline(csv, line)) {
    std::istringstream fields(line);
    std::string mac, name, linuxName, linuxCode;
    for (std::string* field : {&mac, &name, &linuxName, &linuxCode}) std::getline(fields, *field, ',');
    const int code = std::stoi(mac);
    EXPECT_EQ(linuxKeyForVirtualKey(static_cast<std::uint16_t>(code)), std::stoi(linuxCode))
        << name << " should be " << linuxName;
    listed.insert(code);
  }
  EXPECT_EQ(listed.size(), 120u);
  // Codes the table does not list have no key.
  for (int code = 0; code < 256; ++code) {
    if (!listed.count(code))
      EXPECT_EQ(linuxKeyForVirtualKey(static_cast<std::uint16_t>(code)), -1) << code;
  }
  EXPECT_EQ(linuxKeyForVirtualKey(65535), -1);
}

}  // namespace
}  // namespace taviro::linux_input
