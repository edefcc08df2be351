#include "json/DecimalToDouble.h"

#include <bit>

#include "json/DecimalPowers.h"

namespace taviro::json {
namespace {

__extension__ using Uint128Value = unsigned __int128;

constexpr double kExactPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                   1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                   1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// Eisel and Lemire's conversion: the top bits of w * 10^q from one or two
// 64 x 64-bit multiplications by the 128-bit significand of 10^q, which
// decide the rounding except in the rare cases it reports.
bool eiselLemire(std::uint64_t w, int q, std::uint64_t& bits) {
  if (w == 0 || q < kSmallestDecimalPower || q > 308) return false;
  const int leadingZeros = std::countl_zero(w);
  w <<= leadingZeros;
  const Uint128& power = decimalPower(q);
  const Uint128Value first = static_cast<Uint128Value>(w) * power.high;
  auto high = static_cast<std::uint64_t>(first >> 64);
  auto low = static_cast<std::uint64_t>(first);
  // 55 bits are needed (52 stored, the hidden one, one to round, one that
  // the top bit may take); when the bits below them are all ones, the
  // lower half of the power may still carry into them.
  constexpr std::uint64_t kBelowNeeded = ~std::uint64_t{0} >> 55;
  if ((high & kBelowNeeded) == kBelowNeeded) {
    const auto secondHigh =
        static_cast<std::uint64_t>((static_cast<Uint128Value>(w) * power.low) >> 64);
    low += secondHigh;
    if (secondHigh > low) ++high;
  }
  if (low == ~std::uint64_t{0} && (q < -27 || q > 55)) return false;  // can't tell
  const int upperBit = static_cast<int>(high >> 63);
  std::uint64_t mantissa = high >> (upperBit + 9);
  int biasedExponent = binaryExponent(q) + 127 + 63 + upperBit - leadingZeros + 1023;
  if (biasedExponent <= 0) return false;  // subnormal or zero
  // A product that ends in zeros just below the rounding bit may be a tie,
  // which rounds to even; only powers of ten from 10^-4 to 10^23 can make one.
  if (low <= 1 && q >= -4 && q <= 23 && (mantissa & 3) == 1 &&
      (mantissa << (upperBit + 9)) == high)
    mantissa &= ~std::uint64_t{1};
  mantissa += mantissa & 1;
  mantissa >>= 1;
  if (mantissa >= (std::uint64_t{2} << 52)) {
    mantissa = std::uint64_t{1} << 52;
    ++biasedExponent;
  }
  if (biasedExponent >= 0x7FF) return false;  // infinite
  bits = (mantissa & ~(std::uint64_t{1} << 52)) | (static_cast<std::uint64_t>(biasedExponent) << 52);
  return true;
}

}  // namespace

bool decimalToDouble(std::uint64_t w, int q, bool negative, double& out) {
  double magnitude;
  std::uint64_t bits;
  if (w <= (std::uint64_t{1} << 53) && q >= -22 && q <= 22) {
    // Clinger's exact case: w and 10^|q| are both exact doubles, so one
    // rounded operation gives the nearest double.
    magnitude = static_cast<double>(w);
    magnitude = q < 0 ? magnitude / kExactPowers[-q] : magnitude * kExactPowers[q];
  } else if (eiselLemire(w, q, bits)) {
    magnitude = std::bit_cast<double>(bits);
  } else {
    return false;
  }
  out = negative ? -magnitude : magnitude;
  return true;
}

}  // namespace taviro::json
