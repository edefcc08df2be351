#include "driver/Pressure.h"

#include <algorithm>

#include "driver/Truncate.h"

namespace taviro {

namespace {
// Posted pressure is zero up to this raw value on the 0..8192 scale.
constexpr int kPressureThreshold = 2000;
}  // namespace

float applyDeadZone(float normalised, float deadZone) {
  if (normalised < deadZone) return 0.0f;
  if (deadZone >= 1.0f) return 1.0f;
  const float spread = (normalised - deadZone) / (1.0f - deadZone);
  return std::clamp(spread, 0.0f, 1.0f);
}

PressureResult computePressure(const PressureInput& in) {
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
    const float fraction = static_cast<float>(out.scaled) / in.levels;
    out.pressure = static_cast<std::uint16_t>(truncToInt32(static_cast<double>(fraction) * 65535.0));
  }
  return out;
}

}  // namespace taviro
