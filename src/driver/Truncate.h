#pragma once
// Truncation toward zero of doubles into integer fields. Values out of the
// target's range saturate (a plain cast would be undefined) and NaN gives 0.
#include <cstdint>

namespace taviro {

inline std::int32_t truncToInt32(double v) {
  if (!(v == v)) return 0;
  if (v >= 2147483647.0) return INT32_MAX;
  if (v <= -2147483648.0) return INT32_MIN;
  return static_cast<std::int32_t>(v);
}

// The low 16 bits of the truncated value, as the event location and `ioPos` keep it.
inline std::int16_t truncToInt16Bits(double v) {
  return static_cast<std::int16_t>(static_cast<std::uint16_t>(truncToInt32(v) & 0xFFFF));
}

}  // namespace taviro
