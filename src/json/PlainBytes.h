#pragma once
// Finds the end of a run of string bytes that need no attention: printable
// ASCII other than the quote and the backslash (and, for a writer that escapes
// it, the slash). Eight bytes are tested at a time with plain integer
// arithmetic, so strings are not scanned a byte at a time on any platform.
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

namespace taviro::json {

inline constexpr std::uint64_t kEveryByte = 0x0101010101010101;
inline constexpr std::uint64_t kHighBits = 0x8080808080808080;

// The high bit of every byte of x that equals c. The sums stay inside their
// bytes, so a match never marks a neighbour (which keeps the first mark exact
// in either byte order).
constexpr std::uint64_t bytesEqualTo(std::uint64_t x, unsigned char c) {
  const std::uint64_t v = x ^ (kEveryByte * c);
  return ~(((v & ~kHighBits) + ~kHighBits) | v) & kHighBits;
}

// The high bit of every byte of x that is below n (1 <= n <= 0x80).
constexpr std::uint64_t bytesBelow(std::uint64_t x, unsigned char n) {
  return ~(((x & ~kHighBits) + kEveryByte * (0x80u - n)) | x) & kHighBits;
}

template <bool kSlashToo>
constexpr bool isPlainByte(unsigned char c) {
  return c >= 0x20 && c < 0x80 && c != '"' && c != '\\' && !(kSlashToo && c == '/');
}

// The same as a table, for the few bytes tested one by one.
template <bool kSlashToo>
inline constexpr auto kPlainBytes = [] {
  std::array<bool, 256> table{};
  for (int c = 0; c < 256; ++c) table[c] = isPlainByte<kSlashToo>(static_cast<unsigned char>(c));
  return table;
}();

// The high bit of every byte of the eight at p that is not plain.
template <bool kSlashToo>
inline std::uint64_t unplainBytes(const unsigned char* p) {
  std::uint64_t x;
  std::memcpy(&x, p, 8);
  std::uint64_t marks =
      (x & kHighBits) | bytesBelow(x, 0x20) | bytesEqualTo(x, '"') | bytesEqualTo(x, '\\');
  if constexpr (kSlashToo) marks |= bytesEqualTo(x, '/');
  return marks;
}

// The index of the first marked byte.
inline int firstMarkedByte(std::uint64_t marks) {
  return (std::endian::native == std::endian::little ? std::countr_zero(marks)
                                                     : std::countl_zero(marks)) /
         8;
}

// The first byte at or after p that is not plain, or end. The bytes from
// `readable` (at or before p) to end may all be read, so that the last few
// bytes can be tested as the last eight, their forerunners' marks dropped.
// Forced inline: most strings are short, and the call would cost more than
// the scan.
template <bool kSlashToo>
[[gnu::always_inline]] inline const unsigned char* skipPlainBytes(const unsigned char* readable,
                                                                  const unsigned char* p,
                                                                  const unsigned char* end) {
  for (; end - p >= 8; p += 8) {
    if (const std::uint64_t marks = unplainBytes<kSlashToo>(p)) return p + firstMarkedByte(marks);
  }
  if (p == end) return p;
  if (end - readable >= 8) {
    const int before = 8 * static_cast<int>(p - (end - 8));  // bits of bytes before p
    std::uint64_t marks = unplainBytes<kSlashToo>(end - 8);
    marks = std::endian::native == std::endian::little ? marks >> before << before
                                                       : marks << before >> before;
    return marks ? end - 8 + firstMarkedByte(marks) : end;
  }
  while (p < end && kPlainBytes<kSlashToo>[*p]) ++p;
  return p;
}

}  // namespace taviro::json
