// Value::Dict's key order is std::string's byte order, whatever the keys
// share and wherever they differ around the eight-byte steps of the
// comparison.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "foundation/KeyOrder.h"

namespace taviro {
namespace {

TEST(KeyOrder, SortsAsStdStringDoes) {
  std::mt19937 random(3);
  std::vector<std::string> keys = {"", "a", "b", "ab", std::string("a\0b", 3), "\xc3\xa9", "z",
                                   "\xff", "\x7f"};
  for (std::size_t length = 1; length <= 24; ++length) {
    const std::string shared(length, 'k');
    for (const char last : {'\0', 'a', 'k', 'z', '\x80', '\xff'}) {
      keys.push_back(shared + last);
      keys.push_back(shared.substr(0, length - 1) + last);
    }
    std::string noise;
    for (std::size_t i = 0; i < length; ++i) noise += static_cast<char>(random() % 4 + 'a');
    keys.push_back(noise);
  }
  const KeyOrder order;
  for (const std::string& a : keys)
    for (const std::string& b : keys) EXPECT_EQ(order(a, b), a < b) << '"' << a << "\" \"" << b << '"';
}

}  // namespace
}  // namespace taviro
