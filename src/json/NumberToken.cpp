#include "json/NumberToken.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cstring>
#include <string_view>

#include "json/DecimalToDouble.h"

namespace taviro::json {
namespace {

using Byte = unsigned char;
using Kind = NumberToken::Kind;

bool isDigit(Byte c) { return c >= '0' && c <= '9'; }

NumberToken malformed(const Byte* at) { return {.kind = Kind::Malformed, .u = 0, .end = at}; }

// The digits of an integer, which has no sign, fraction or exponent. Up to 19
// digits cannot overflow; longer ones are checked digit by digit.
NumberToken convertInteger(const Byte* digits, const Byte* end, bool negative) {
  constexpr std::uint64_t kMinMagnitude = std::uint64_t{1} << 63;  // |INT64_MIN|
  const std::uint64_t limit = negative ? kMinMagnitude : UINT64_MAX;
  std::uint64_t value = 0;
  const bool mayOverflow = end - digits > 19;
  for (const Byte* q = digits; q < end; ++q) {
    const auto digit = static_cast<std::uint64_t>(*q - '0');
    if (mayOverflow && value > (limit - digit) / 10)
      return {.kind = Kind::OutOfRange, .u = 0, .end = end};
    value = value * 10 + digit;
  }
  if (!negative) return {.kind = Kind::Unsigned, .u = value, .end = end};
  if (value > kMinMagnitude) return {.kind = Kind::OutOfRange, .u = 0, .end = end};
  const std::int64_t i = value == kMinMagnitude ? INT64_MIN : -static_cast<std::int64_t>(value);
  return {.kind = Kind::Signed, .i = i, .end = end};
}

NumberToken convertDouble(const Byte* start, const Byte* end) {
  double d = 0;
  const auto [stop, ec] =
      std::from_chars(reinterpret_cast<const char*>(start), reinterpret_cast<const char*>(end), d);
  if (ec == std::errc::result_out_of_range) return {.kind = Kind::OutOfRange, .u = 0, .end = end};
  if (ec != std::errc() || stop != reinterpret_cast<const char*>(end))
    return {.kind = Kind::NotConsumed, .u = 0, .end = end};
  return {.kind = Kind::Real, .d = d, .end = end};
}

// Whether a number that does not fit a double is too large (rather than too
// small): the position of its first significant digit plus its exponent.
bool exceedsOne(std::string_view text) {
  long long magnitude = 0;
  std::size_t i = text[0] == '-' ? 1 : 0;
  bool seenSignificant = false;
  for (; i < text.size() && isDigit(static_cast<Byte>(text[i])); ++i) {
    if (text[i] != '0') seenSignificant = true;
    if (seenSignificant) ++magnitude;
  }
  if (i < text.size() && text[i] == '.') {
    for (++i; i < text.size() && isDigit(static_cast<Byte>(text[i])); ++i) {
      if (seenSignificant) continue;
      if (text[i] != '0') seenSignificant = true;
      else --magnitude;
    }
  }
  if (i < text.size()) {  // the exponent, clamped beyond any text's length
    ++i;
    const bool negativeExponent = text[i] == '-';
    if (text[i] == '+' || text[i] == '-') ++i;
    constexpr long long kClamp = 1'000'000'000'000'000;
    long long exponent = 0;
    for (; i < text.size(); ++i) exponent = std::min(exponent * 10 + (text[i] - '0'), kClamp);
    magnitude += negativeExponent ? -exponent : exponent;
  }
  return magnitude > 0;
}

// Eight bytes of text as one word, the first in the lowest byte.
std::uint64_t eightBytes(const Byte* p) {
  std::uint64_t x;
  std::memcpy(&x, p, 8);
  if constexpr (std::endian::native == std::endian::big) x = __builtin_bswap64(x);
  return x;
}

// The high bit of the first byte of x that is not a digit, and maybe of
// some after it (a byte below '0' borrows from the next).
constexpr std::uint64_t nonDigits(std::uint64_t x) {
  return ((x + 0x4646464646464646) | (x - 0x3030303030303030)) & 0x8080808080808080;
}

// The value of eight digits, converted together with a few multiplications.
constexpr std::uint64_t valueOfEightDigits(std::uint64_t x) {
  x -= 0x3030303030303030;
  x = x * 10 + (x >> 8);  // pairs of digits
  x = (((x & 0x000000FF000000FF) * 0x000F424000000064) +
       (((x >> 16) & 0x000000FF000000FF) * 0x0000271000000001)) >>
      32;  // 1st pair * 10^6 + 2nd * 10^4 + 3rd * 100 + 4th
  return x & 0xFFFFFFFF;
}

constexpr std::uint64_t kPowersOfTen[] = {1,      10,      100,      1'000,     10'000,
                                          100'000, 1'000'000, 10'000'000, 100'000'000};

// Skips the digits at p, adding them to `value` (which wraps around when
// there are more than 19; the caller counts them). Eight bytes are tested
// and converted at a time; the fewer digits before the end of a run are
// moved to the top of their word, zeros before them, and converted alike.
const Byte* takeDigits(const Byte* p, const Byte* end, std::uint64_t& value) {
  for (; end - p >= 8; p += 8) {
    const std::uint64_t x = eightBytes(p);
    if (const std::uint64_t marks = nonDigits(x)) {
      const int count = std::countr_zero(marks) / 8;
      if (count == 0) return p;
      const int rest = 8 * (8 - count);
      value = value * kPowersOfTen[count] +
              valueOfEightDigits((x << rest) | (0x3030303030303030 >> (64 - rest)));
      return p + count;
    }
    value = value * 100'000'000 + valueOfEightDigits(x);
  }
  for (; p < end && isDigit(*p); ++p) value = value * 10 + static_cast<std::uint64_t>(*p - '0');
  return p;
}

// Whether the digits from `digits` to `end` (a point among them), of which
// `count` are digits, are at most 19 without their leading zeros.
bool fitsSignificand(const Byte* digits, const Byte* end, std::ptrdiff_t count) {
  for (const Byte* q = digits; count > 19 && q < end && (*q == '0' || *q == '.'); ++q)
    count -= *q == '0';
  return count <= 19;
}

}  // namespace

NumberToken readAnyNumberToken(const Byte* p, const Byte* end) {
  const Byte* start = p;
  const bool negative = *p == '-';
  if (negative) ++p;
  if (p == end || !isDigit(*p)) return malformed(p);
  // The number is significand * 10^exponent, exactly as long as it has no
  // more than 19 digits after its leading zeros.
  std::uint64_t significand = 0;
  const Byte* digits = p;
  p = *p == '0' ? p + 1 : takeDigits(p, end, significand);
  const Byte* digitsEnd = p;
  std::ptrdiff_t fractionDigits = 0;
  if (p < end && *p == '.') {
    ++p;
    if (p == end || !isDigit(*p)) return malformed(p);
    const Byte* fraction = p;
    p = takeDigits(p, end, significand);
    fractionDigits = p - fraction;
  }
  bool integral = fractionDigits == 0;
  const Byte* mantissaEnd = p;
  // Clamped, like the written exponent, far beyond any double's range.
  int exponent = -static_cast<int>(std::min<std::ptrdiff_t>(fractionDigits, 1'000'000));
  if (p < end && (*p == 'e' || *p == 'E')) {
    ++p;
    const bool negativeExponent = p < end && *p == '-';
    if (p < end && (*p == '+' || *p == '-')) ++p;
    if (p == end || !isDigit(*p)) return malformed(p);
    int written = 0;
    for (; p < end && isDigit(*p); ++p) written = std::min(written * 10 + (*p - '0'), 1'000'000);
    exponent += negativeExponent ? -written : written;
    integral = false;
  }
  // "-0" is a double, so that its sign survives.
  if (integral && !(negative && *digits == '0'))
    return convertInteger(digits, digitsEnd, negative);
  if (double d; fitsSignificand(digits, mantissaEnd, (digitsEnd - digits) + fractionDigits) &&
                 decimalToDouble(significand, exponent, negative, d))
    return {.kind = Kind::Real, .d = d, .end = p};
  return convertDouble(start, p);
}

std::string numberFailureMessage(const NumberToken& token, const Byte* start) {
  const std::string text(reinterpret_cast<const char*>(start),
                         static_cast<std::size_t>(token.end - start));
  switch (token.kind) {
    case Kind::Malformed: return "Invalid number.";
    case Kind::NotConsumed:
      return "The conversion function did not consume all of the number tokens characters.";
    default: break;
  }
  const bool integral = text.find_first_of(".eE") == std::string::npos;
  if (integral && text[0] == '-')
    return "The value '" + text + "' exceeded the minimum value that could be represented: " +
           std::to_string(INT64_MIN) + ".";
  if (integral)
    return "The value '" + text + "' exceeded the maximum value that could be represented: " +
           std::to_string(UINT64_MAX) + ".";
  return "The value '" + text + "' could not be represented as a 'double' due to " +
         (exceedsOne(text) ? "overflow." : "underflow.");
}

}  // namespace taviro::json
