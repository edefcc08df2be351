#pragma once
// 10^q for q in [-342, 340] as 128-bit significands in [2^127, 2^128):
// 10^q ~ significand * 2^binaryExponent(q). Computed at compile time.
//
// For q >= 0 the significand is 5^q (which has the same bits as 10^q) cut to
// 128 bits, exact up to q = 55. For q < 0 it is 2^b / 5^-q rounded up (for
// q >= -27, with b chosen so that this fits in 128 bits) or computed to a
// width of about twice 5^-q and then cut to 128 bits. Either way it is within
// one unit of its last bit of the true value, and these are the values the
// Eisel-Lemire decimal-to-binary conversion relies on.
#include <array>
#include <cstdint>

namespace taviro::json {

struct Uint128 {
  std::uint64_t high;
  std::uint64_t low;
};

inline constexpr int kSmallestDecimalPower = -342;
inline constexpr int kLargestDecimalPower = 340;

// floor(log2(10^q)) - 127, for the range above.
constexpr int binaryExponent(int q) { return ((q * 217706) >> 16) - 127; }

namespace detail {

// An unsigned integer of up to kLimbs 64-bit limbs, least significant first;
// just enough arithmetic to build the table.
template <int kLimbs>
struct BigNumber {
  std::uint64_t limb[kLimbs] = {};

  constexpr int bitLength() const {
    for (int i = kLimbs - 1; i >= 0; --i) {
      if (limb[i] == 0) continue;
      int bits = 64;
      while (!(limb[i] >> (bits - 1))) --bits;
      return i * 64 + bits;
    }
    return 0;
  }
  constexpr void setBit(int n) { limb[n / 64] |= std::uint64_t{1} << (n % 64); }
  // The 64 bits from bit `from` up (bits below 0 read as zero).
  constexpr std::uint64_t wordAt(int from) const {
    const auto limbAt = [this](int i) { return i >= 0 && i < kLimbs ? limb[i] : 0; };
    const int i = from >= 0 ? from / 64 : (from - 63) / 64;
    const int shift = from - i * 64;
    if (shift == 0) return limbAt(i);
    return (limbAt(i) >> shift) | (limbAt(i + 1) << (64 - shift));
  }
  constexpr BigNumber shiftedRight(int bits) const {
    BigNumber out;
    for (int i = 0; i < kLimbs; ++i) out.limb[i] = wordAt(bits + 64 * i);
    return out;
  }
  constexpr void multiplyBy(std::uint32_t factor) {
    std::uint64_t carry = 0;
    for (std::uint64_t& l : limb) {
      const std::uint64_t low = (l & 0xFFFFFFFF) * factor + carry;
      const std::uint64_t high = (l >> 32) * factor + (low >> 32);
      l = (low & 0xFFFFFFFF) | (high << 32);
      carry = high >> 32;
    }
  }
  constexpr void divideBy(std::uint32_t divisor) {
    std::uint64_t remainder = 0;
    for (int i = kLimbs - 1; i >= 0; --i) {
      const std::uint64_t high = (remainder << 32) | (limb[i] >> 32);
      const std::uint64_t low = ((high % divisor) << 32) | (limb[i] & 0xFFFFFFFF);
      limb[i] = ((high / divisor) << 32) | (low / divisor);
      remainder = low % divisor;
    }
  }
  constexpr void addOne() {
    for (std::uint64_t& l : limb)
      if (++l != 0) break;
  }
  // The 128 bits from bit `from` up (lower bits dropped).
  constexpr Uint128 bitsFrom(int from) const { return {wordAt(from + 64), wordAt(from)}; }
};

constexpr auto makeDecimalPowers() {
  std::array<Uint128, kLargestDecimalPower - kSmallestDecimalPower + 1> table{};
  // 5^q for q >= 0, multiplied up one step at a time.
  BigNumber<13> power;
  power.limb[0] = 1;
  for (int q = 0; q <= kLargestDecimalPower; ++q) {
    table[q - kSmallestDecimalPower] = power.bitsFrom(power.bitLength() - 128);
    power.multiplyBy(5);
  }
  // q < 0: floor(2^b / 5^n) with n = -q. Dividing 2^kTop by 5 n times gives
  // floor(2^kTop / 5^n) exactly, and shifting it right gives the same for a
  // smaller b.
  constexpr int kTop = 27 * 64;
  BigNumber<28> quotient;
  quotient.setBit(kTop);
  BigNumber<13> fivePower;  // 5^n
  fivePower.limb[0] = 1;
  for (int n = 1; n <= -kSmallestDecimalPower; ++n) {
    quotient.divideBy(5);
    fivePower.multiplyBy(5);
    // z: the least z with 2^z >= 5^n (5^n is never a power of two).
    const int z = fivePower.bitLength();
    const int b = n <= 27 ? z + 127 : 2 * z + 128;
    BigNumber<28> value = quotient.shiftedRight(kTop - b);
    value.addOne();
    table[-n - kSmallestDecimalPower] = value.bitsFrom(value.bitLength() - 128);
  }
  return table;
}

}  // namespace detail

inline constexpr auto kDecimalPowers = detail::makeDecimalPowers();

// The significand of 10^q.
constexpr const Uint128& decimalPower(int q) { return kDecimalPowers[q - kSmallestDecimalPower]; }

}  // namespace taviro::json
