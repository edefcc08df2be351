#pragma once
// Truncation toward zero of doubles into integer fields, and integer
// differences, saturating: values out of the target's range give its nearest
// limit (a plain cast or subtraction would be undefined) and NaN gives 0.
#include <algorithm>
#include <cstdint>

namespace taviro {

inline std::int32_t truncToInt32(double v) {
  // One test for the common case: NaN fails it too.
  if (v > -2147483649.0 && v < 2147483648.0) return static_cast<std::int32_t>(v);
  if (v != v) return 0;
  return v > 0 ? INT32_MAX : INT32_MIN;
}

// The low 16 bits of the truncated value, as the event location and `ioPos` keep it.
inline std::int16_t truncToInt16Bits(double v) {
  return static_cast<std::int16_t>(static_cast<std::uint16_t>(truncToInt32(v) & 0xFFFF));
}

// a - b, limited to the int32 range: mapped positions may sit at the limits.
inline std::int32_t saturatingDifference(std::int32_t a, std::int32_t b) {
  return static_cast<std::int32_t>(
      std::clamp<std::int64_t>(std::int64_t{a} - b, INT32_MIN, INT32_MAX));
}

}  // namespace taviro
