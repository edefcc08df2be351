#pragma once
// The order of dictionary keys: byte order, as std::string's operator< gives
// it, but compared inline eight bytes at a time. Keys are short, and every
// lookup and every insertion into a Value::Dict compares several, so a call to
// memcmp for each cost more than the comparison. Transparent, so that lookups
// may take a std::string_view.
#include <bit>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace taviro {

struct KeyOrder {
  using is_transparent = void;

  bool operator()(std::string_view a, std::string_view b) const noexcept {
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
        return x < y;
      }
    }
    for (; i < common; ++i) {
      if (a[i] != b[i]) return static_cast<unsigned char>(a[i]) < static_cast<unsigned char>(b[i]);
    }
    return a.size() < b.size();
  }
};

}  // namespace taviro
