#include "json/FormatReal.h"

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
constexpr std::uint64_t kTen16 = 10'000'000'000'000'000;
constexpr std::uint64_t kTen17 = 100'000'000'000'000'000;

// A positive double rounded to seventeen significant digits:
// digits * 10^(exponent - 16), with 10^16 <= digits < 10^17.
struct Decimal17 {
  std::uint64_t digits;
  int exponent;
};

// Rounds x (finite, above zero) to seventeen digits the way printf does:
// correctly, ties to even. x * 10^k, for the k that gives 17 or 18 digits
// before the point, comes from one multiplication by the 128-bit significand
// of 10^k. That is exact for 0 <= k <= 55 (most doubles a program meets);
// otherwise it is off by less than `kSlack` in the fraction, and a result that
// close to a rounding boundary answers false so that the caller can take the
// slow, exact road.
bool roundTo17Digits(double x, Decimal17& out) {
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
  // floor(log10(2^(e + 52))): x / 10^estimate is in [1, 20).
  const int estimate = ((e + 52) * 78913) >> 18;
  const int k = 16 - estimate;
  const Uint128& power = decimalPower(k);
  // P = m * power, 181 bits; x * 10^k = P / 2^s.
  const Uint128Value low = static_cast<Uint128Value>(m) * power.low;
  const Uint128Value upper = static_cast<Uint128Value>(m) * power.high + (low >> 64);
  const int s = -(e + binaryExponent(k));  // 121..128
  const auto integer = static_cast<std::uint64_t>(upper >> (s - 64));
  // The bits below the point, the point being at the top of 128 bits.
  const Uint128Value fraction =
      (upper << (192 - s)) | (static_cast<Uint128Value>(static_cast<std::uint64_t>(low)) << (128 - s));
  constexpr Uint128Value kHalf = static_cast<Uint128Value>(1) << 127;
  constexpr Uint128Value kSlack = static_cast<Uint128Value>(1) << 61;  // > m * 2^(128 - s)
  const bool exact = k >= 0 && k <= 55;

  int exponent = 16 - k;
  std::uint64_t digits;
  bool roundUp;
  if (integer < kTen16 || integer >= 10 * kTen17) return false;  // only off by the error
  if (integer < kTen17) {
    digits = integer;
    if (exact) {
      roundUp = fraction > kHalf || (fraction == kHalf && (digits & 1));
    } else {
      if (fraction > kHalf - kSlack && fraction < kHalf + kSlack) return false;
      roundUp = fraction > kHalf;
    }
  } else {  // eighteen digits: the last one is rounded away as well
    digits = integer / 10;
    const std::uint64_t last = integer % 10;
    ++exponent;
    if (exact) {
      roundUp = last > 5 || (last == 5 && (fraction != 0 || (digits & 1)));
    } else {
      if ((last == 4 && fraction > ~kSlack) || (last == 5 && fraction < kSlack)) return false;
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

constexpr char kDigitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

// Writes n < 10^8 as exactly eight digits.
void writeEightDigits(std::uint64_t n, char* out) {
  const auto high = static_cast<unsigned>(n / 10000), low = static_cast<unsigned>(n % 10000);
  std::memcpy(out, kDigitPairs + 2 * (high / 100), 2);
  std::memcpy(out + 2, kDigitPairs + 2 * (high % 100), 2);
  std::memcpy(out + 4, kDigitPairs + 2 * (low / 100), 2);
  std::memcpy(out + 6, kDigitPairs + 2 * (low % 100), 2);
}

// "%.17g" of digits * 10^(exponent - 16): fixed notation for exponents from
// -4 to 16, otherwise d.ddde+XX; trailing zeros of the fraction are dropped,
// and the point with them when nothing follows it.
char* layOut(const Decimal17& value, char* out) {
  char digits[17];
  const std::uint64_t high = value.digits / kTen8;  // nine digits
  digits[0] = static_cast<char>('0' + high / kTen8);
  writeEightDigits(high % kTen8, digits + 1);
  writeEightDigits(value.digits % kTen8, digits + 9);
  int kept = 17;
  while (digits[kept - 1] == '0') --kept;

  const int exponent = value.exponent;
  const auto append = [&out](const char* from, int count) {
    std::memcpy(out, from, static_cast<std::size_t>(count));
    out += count;
  };
  if (exponent >= 0 && exponent < 17) {
    const int integerDigits = exponent + 1;
    append(digits, integerDigits);
    if (kept > integerDigits) {
      *out++ = '.';
      append(digits + integerDigits, kept - integerDigits);
    }
  } else if (exponent < 0 && exponent >= -4) {
    append("0.000", 1 - exponent);
    append(digits, kept);
  } else {
    *out++ = digits[0];
    if (kept > 1) {
      *out++ = '.';
      append(digits + 1, kept - 1);
    }
    *out++ = 'e';
    *out++ = exponent < 0 ? '-' : '+';
    const int magnitude = std::abs(exponent);
    if (magnitude >= 100) *out++ = static_cast<char>('0' + magnitude / 100);
    append(kDigitPairs + 2 * (magnitude % 100), 2);
  }
  return out;
}

}  // namespace

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
