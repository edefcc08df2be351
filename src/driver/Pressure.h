#pragma once
// Turns the tablet's raw pressure into the posted 16-bit pressure. Inline:
// it runs for every report.
#include <algorithm>
#include <cstdint>

#include "driver/Truncate.h"

namespace taviro {

struct PressureInput {
  std::uint16_t raw = 0;        // report bytes 6-7
  float levels = 8192.0f;       // full-scale raw pressure
  bool mouseMode = false;       // every report counts as full pressure
  float multiplier = 1.0f;      // pressureMod
  float deadZone = 0.0f;        // fraction of full pressure
};

struct PressureResult {
  int scaled = 0;               // P on the 0..levels scale
  float normalised = 0.0f;      // N, what the panel shows (x 100)
  std::uint16_t pressure = 0;   // posted pressure, 0..65535
};

// Posted pressure is zero up to this raw value on the 0..8192 scale.
inline constexpr int kPressureThreshold = 2000;

// Values of N at or above the dead zone D are spread over the whole range,
// (N - D) / (1 - D), limited to [0, 1]; below D they give 0. So the first
// pressure past the dead zone starts from zero rather than jumping, and full
// pen pressure still reaches full posted pressure. D of 1 or more leaves only
// full pressure (1) at N >= D.
inline float applyDeadZone(float normalised, float deadZone) {
  if (normalised < deadZone) return 0.0f;
  if (deadZone >= 1.0f) return 1.0f;
  const float spread = (normalised - deadZone) / (1.0f - deadZone);
  return std::clamp(spread, 0.0f, 1.0f);
}

inline PressureResult computePressure(const PressureInput& in) {
  const float base = in.mouseMode ? static_cast<float>(truncToInt32(in.levels))
                                  : static_cast<float>(in.raw);
  const float scaled = std::min(in.multiplier * base, in.levels);
  PressureResult out;
  out.scaled = truncToInt32(scaled);
  out.normalised = static_cast<float>(out.scaled) / in.levels;
  if (in.deadZone > 0.0f) {
    out.normalised = applyDeadZone(out.normalised, in.deadZone);
    out.scaled = truncToInt32(out.normalised * in.levels);
  }
  if (out.scaled > kPressureThreshold) {
    // Without a dead zone P / L is N, already at hand.
    const float fraction =
        in.deadZone > 0.0f ? static_cast<float>(out.scaled) / in.levels : out.normalised;
    out.pressure = static_cast<std::uint16_t>(truncToInt32(static_cast<double>(fraction) * 65535.0));
  }
  return out;
}

}  // namespace taviro
