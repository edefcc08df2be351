#pragma once
// Turns the tablet's raw pressure into the posted 16-bit pressure.
#include <cstdint>

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

// Values of N at or above the dead zone D are spread over the whole range,
// (N - D) / (1 - D), limited to [0, 1]; below D they give 0. So the first
// pressure past the dead zone starts from zero rather than jumping, and full
// pen pressure still reaches full posted pressure. D of 1 or more leaves only
// full pressure (1) at N >= D.
float applyDeadZone(float normalised, float deadZone);

PressureResult computePressure(const PressureInput& in);

}  // namespace taviro
