#pragma once
// Byte order of object keys, the order Value::Dict keeps. Keys are short, so
// comparing eight bytes at a time inline beats a call to memcmp.
#include <bit>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace taviro::json {

// Negative, zero or positive as a sorts before, with or after b.
inline int compareKeys(std::string_view a, std::string_view b) {
  const std::size_t common = a.size() < b.size() ? a.size() : b.size();
  std::size_t i = 0;
  for (; i + 8 <= common; i += 8) {
    std::uint64_t x, y;
    std::memcpy(&x, a.data() + i, 8);
    std::memcpy(&y, b.data() + i, 8);
    if (x != y) {
      if constexpr (std::endian::native == std::endian::little) {
        x = __builtin_bswap64(x);
        y = __builtin_bswap64(y);
      }
      return x < y ? -1 : 1;
    }
  }
  for (; i < common; ++i) {
    if (a[i] != b[i]) return static_cast<unsigned char>(a[i]) < static_cast<unsigned char>(b[i]) ? -1 : 1;
  }
  return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
}

// A key to look up in a Value::Dict with the comparison above (its
// std::less<> finds these operators) instead of std::string's.
struct KeyView {
  std::string_view bytes;
};
inline bool operator<(const std::string& a, KeyView b) { return compareKeys(a, b.bytes) < 0; }
inline bool operator<(KeyView a, const std::string& b) { return compareKeys(a.bytes, b) < 0; }

}  // namespace taviro::json
