#include "json/NumberFormat.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "json/DecimalPowers.h"

namespace taviro::json {
namespace {

__extension__ using Uint128Value = unsigned __int128;

constexpr std::uint64_t kTen8 = 100'000'000;
constexpr std::uint64_t kEveryByte = 0x0101010101010101;
constexpr std::uint64_t kTen16 = 10'000'000'000'000'000;
constexpr std::uint64_t kTen17 = 100'000'000'000'000'000;

// A positive double rounded to seventeen significant digits:
// digits * 10^(exponent - 16), with 10^16 <= digits < 10^17.
struct Decimal17 {
  std::uint64_t digits;
  int exponent;
};

// x * 10^k for the k that gives 17 or 18 digits before the point: the
// digits before it, the fraction after it (as the upper and lower word of a
// 128-bit fraction) and the decimal exponent of the first digit.
struct Scaled {
  std::uint64_t integer;
  std::uint64_t fractionHigh;
  std::uint64_t fractionLow;
  int exponent;
  // Whether the fraction is exact. Otherwise it is off by less than one unit
  // of fractionHigh (see below).
  bool exact;
};

// One multiplication by the 128-bit significand of 10^k. That is exact for
// 0 <= k <= 55, which covers most doubles a program meets.
Scaled scale(double x) {
  const auto bits = std::bit_cast<std::uint64_t>(x);
  const int biasedExponent = static_cast<int>(bits >> 52);
  std::uint64_t m = bits & ((std::uint64_t{1} << 52) - 1);
  int e;  // x = m * 2^e with 2^52 <= m < 2^53
  if (biasedExponent == 0) {
    const int shift = std::countl_zero(m) - 11;
    m <<= shift;
    e = -1074 - shift;
  } else {
    m |= std::uint64_t{1} << 52;
    e = biasedExponent - 1075;
  }
  // floor(log10(2^(e + 52))) (exact over the whole range): x / 10^estimate
  // is in [1, 20), so x * 10^k has 17 or 18 digits before the point.
  const int estimate = ((e + 52) * 78913) >> 18;
  const int k = 16 - estimate;
  const Uint128& power = decimalPower(k);
  // P = m * power has 181 bits, high to low u1:u0:low; x * 10^k = P / 2^s,
  // and the ranges of m and power put r = s - 64 in [58, 63]. When power is
  // not exact, P is off by less than m, which makes less than
  // m * 2^(64 - r) < 2^59 units of fractionLow.
  const Uint128Value product = static_cast<Uint128Value>(m) * power.low;
  const Uint128Value upper = static_cast<Uint128Value>(m) * power.high + (product >> 64);
  const auto u1 = static_cast<std::uint64_t>(upper >> 64), u0 = static_cast<std::uint64_t>(upper);
  const auto low = static_cast<std::uint64_t>(product);
  const int r = -(e + binaryExponent(k)) - 64;
  return {.integer = (u1 << (64 - r)) | (u0 >> r),
          .fractionHigh = (u0 << (64 - r)) | (low >> r),
          .fractionLow = low << (64 - r),
          .exponent = 16 - k,
          .exact = k >= 0 && k <= 55};
}

// Rounds x (finite, above zero) to seventeen digits the way printf does:
// correctly, ties to even. A result that an inexact scaling leaves too close
// to a rounding boundary to tell answers false, so that the caller can take
// the slow, exact road.
bool roundTo17Digits(double x, Decimal17& out) {
  const Scaled scaled = scale(x);
  const std::uint64_t high = scaled.fractionHigh, low = scaled.fractionLow;
  constexpr std::uint64_t kHalf = std::uint64_t{1} << 63;
  int exponent = scaled.exponent;
  std::uint64_t digits;
  bool roundUp;
  if (scaled.integer < kTen16 || scaled.integer >= 10 * kTen17) return false;  // only by the error
  if (scaled.integer < kTen17) {
    digits = scaled.integer;
    if (scaled.exact) {
      roundUp = high > kHalf || (high == kHalf && (low != 0 || (digits & 1)));
    } else {
      if (high == kHalf || high == kHalf - 1) return false;
      roundUp = high >= kHalf;
    }
  } else {  // eighteen digits: the last one is rounded away as well
    digits = scaled.integer / 10;
    const std::uint64_t last = scaled.integer % 10;
    ++exponent;
    if (scaled.exact) {
      roundUp = last > 5 || (last == 5 && (high != 0 || low != 0 || (digits & 1)));
    } else {
      if ((last == 4 && high == ~std::uint64_t{0}) || (last == 5 && high == 0)) return false;
      roundUp = last >= 5;
    }
  }
  digits += roundUp;
  if (digits == kTen17) {
    digits = kTen16;
    ++exponent;
  }
  out = {digits, exponent};
  return true;
}

// The eight digits of n < 10^8 as the values 0 to 9 in eight bytes, in
// text order in memory. All eight come out together: n is split into two
// halves of four digits, each of those into two pairs and each pair into
// two digits, every split done for all the parts at once by one
// multiplication by a reciprocal (exact for numbers this small).
std::uint64_t eightDigits(std::uint64_t n) {
  const std::uint64_t halves = (n / 10000) | ((n % 10000) << 32);
  const std::uint64_t hundreds = ((halves * 10486) >> 20) & 0x0000007F0000007F;  // / 100
  const std::uint64_t pairs = ((halves - 100 * hundreds) << 16) | hundreds;
  const std::uint64_t tens = ((pairs * 103) >> 10) & 0x000F000F000F000F;  // / 10
  const std::uint64_t digits = ((pairs - 10 * tens) << 8) | tens;
  if constexpr (std::endian::native == std::endian::big) return __builtin_bswap64(digits);
  return digits;
}

// How many of the eight digits above are left when trailing zeros go.
int keptDigits(std::uint64_t digits) {
  return 8 - (std::endian::native == std::endian::little ? std::countl_zero(digits)
                                                          : std::countr_zero(digits)) /
                 8;
}

// Two words of eight characters as one word of sixteen, in memory order.
Uint128Value joined(std::uint64_t first, std::uint64_t second) {
  if constexpr (std::endian::native == std::endian::little)
    return first | (static_cast<Uint128Value>(second) << 64);
  return (static_cast<Uint128Value>(first) << 64) | second;
}

// A word of characters without its first n (n < 16).
Uint128Value withoutFirst(Uint128Value characters, int n) {
  if constexpr (std::endian::native == std::endian::little) return characters >> (8 * n);
  return characters << (8 * n);
}

// "%.17g" of digits * 10^(exponent - 16): fixed notation for exponents from
// -4 to 16, otherwise d.ddde+XX; trailing zeros of the fraction are dropped,
// and the point with them when nothing follows it. The digits stay in
// registers and are stored in pieces of fixed size, some of them beyond the
// end (the caller gives kRealBufferSize bytes), so that no copy is a call and
// nothing stored is read back.
char* layOut(const Decimal17& value, char* out) {
  const std::uint64_t rest = value.digits % kTen16;
  const std::uint64_t middle = eightDigits(rest / kTen8), last = eightDigits(rest % kTen8);
  const int kept = last ? 9 + keptDigits(last) : middle ? 1 + keptDigits(middle) : 1;
  const auto first = static_cast<char>('0' + value.digits / kTen16);
  constexpr std::uint64_t kZeros = kEveryByte * '0';
  const Uint128Value others = joined(kZeros + middle, kZeros + last);  // digits 2 to 17

  const int exponent = value.exponent;
  if (exponent >= 0 && exponent < 17) {
    const int integerDigits = exponent + 1;
    out[0] = first;
    std::memcpy(out + 1, &others, 16);
    if (kept <= integerDigits) return out + integerDigits;
    out[integerDigits] = '.';
    const Uint128Value fraction = withoutFirst(others, integerDigits - 1);
    std::memcpy(out + integerDigits + 1, &fraction, 16);
    return out + kept + 1;
  }
  if (exponent < 0 && exponent >= -4) {
    std::memcpy(out, "0.000000", 8);
    char* digits = out + 1 - exponent;
    digits[0] = first;
    std::memcpy(digits + 1, &others, 16);
    return digits + kept;
  }
  out[0] = first;
  out[1] = '.';
  std::memcpy(out + 2, &others, 16);
  out += kept > 1 ? kept + 1 : 1;
  *out++ = 'e';
  *out++ = exponent < 0 ? '-' : '+';
  const int magnitude = std::abs(exponent);
  if (magnitude >= 100) *out++ = static_cast<char>('0' + magnitude / 100);
  *out++ = static_cast<char>('0' + magnitude / 10 % 10);
  *out++ = static_cast<char>('0' + magnitude % 10);
  return out;
}

// Writes the eight digits of n < 10^8 (fixed width: leading zeros too).
char* writeEightDigits(std::uint64_t n, char* out) {
  const std::uint64_t text = eightDigits(n) + kEveryByte * '0';
  std::memcpy(out, &text, 8);
  return out + 8;
}

// Writes 0 < n < 10^8 without leading zeros.
char* writeUpToEightDigits(std::uint64_t n, char* out) {
  const std::uint64_t digits = eightDigits(n);
  const int leadingZeros = (std::endian::native == std::endian::little ? std::countr_zero(digits)
                                                                        : std::countl_zero(digits)) /
                           8;
  const std::uint64_t text = digits + kEveryByte * '0';
  char all[16] = {};
  std::memcpy(all, &text, 8);
  std::memcpy(out, all + leadingZeros, 8);  // a fixed-size copy: the caller has room
  return out + 8 - leadingZeros;
}

}  // namespace

char* formatInteger(std::uint64_t n, char* out) {
  if (n == 0) {
    *out = '0';
    return out + 1;
  }
  if (n < kTen8) return writeUpToEightDigits(n, out);
  if (n < kTen16) return writeEightDigits(n % kTen8, writeUpToEightDigits(n / kTen8, out));
  out = writeUpToEightDigits(n / kTen16, out);  // at most four digits
  return writeEightDigits(n % kTen8, writeEightDigits(n / kTen8 % kTen8, out));
}

char* formatInteger(std::int64_t n, char* out) {
  if (n >= 0) return formatInteger(static_cast<std::uint64_t>(n), out);
  *out = '-';
  return formatInteger(~static_cast<std::uint64_t>(n) + 1, out + 1);
}

char* formatReal(double d, char* out) {
  if (std::signbit(d)) *out++ = '-';
  const double x = std::fabs(d);
  if (x == 0) {
    *out++ = '0';
    return out;
  }
  Decimal17 value;
  if (roundTo17Digits(x, value)) return layOut(value, out);
  // Within the error of a rounding boundary: std::to_chars is exact (and as
  // slow as it is exact).
  return std::to_chars(out, out + kRealBufferSize - 1, x, std::chars_format::general, 17).ptr;
}

}  // namespace taviro::json
