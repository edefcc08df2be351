#include <gtest/gtest.h>

#include "DriverHarness.h"
#include "driver/Pressure.h"

namespace taviro {
namespace {

float modFor(float damping) { return damping - 0.5f + 1.0f; }

TEST(Pressure, RawPressureScalesThroughDampingMouseModeAndThreshold) {
  struct Case {
    std::uint16_t raw;
    float damping;
    bool mouse;
    int scaled;
    std::uint16_t posted;
    float percent;
  } cases[] = {
      {4096, 0.5f, false, 4096, 32767, 50.0f},
      {2000, 0.5f, false, 2000, 0, 2000.0f / 81.92f},
      {2001, 0.5f, false, 2001, 16007, 2001.0f / 81.92f},
      {8192, 0.5f, false, 8192, 65535, 100.0f},
      {9000, 0.5f, false, 8192, 65535, 100.0f},
      {8192, 0.0f, false, 4096, 32767, 50.0f},
      {4000, 0.0f, false, 2000, 0, 2000.0f / 81.92f},
      {6000, 1.0f, false, 8192, 65535, 100.0f},
      {100, 0.5f, true, 8192, 65535, 100.0f},
      {100, 0.0f, true, 4096, 32767, 50.0f},
      {0, 0.5f, false, 0, 0, 0.0f},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "raw " << c.raw << " damping " << c.damping);
    const PressureResult r = computePressure({c.raw, 8192.0f, c.mouse, modFor(c.damping), 0.0f});
    EXPECT_EQ(r.scaled, c.scaled);
    EXPECT_EQ(r.pressure, c.posted);
    EXPECT_NEAR(r.normalised * 100.0f, c.percent, 0.01f);
  }
}

TEST(Pressure, DeadZoneSilencesLightPressureAndRisesAboveIt) {
  const PressureResult below = computePressure({410, 8192.0f, false, 1.0f, 0.1f});  // N = 0.05
  EXPECT_EQ(below.normalised, 0.0f);
  EXPECT_EQ(below.pressure, 0);
  EXPECT_EQ(below.scaled, 0);

  // Above D the value rises with N, stays in [0, 1] and reaches 1 at full
  // pressure, even when D is the whole range.
  for (float d : {0.05f, 0.1f, 0.5f, 0.9f, 0.99f, 1.0f}) {
    float previous = -1.0f;
    for (int raw = 0; raw <= 8192; raw += 64) {
      const float n = static_cast<float>(raw) / 8192.0f;
      const float v = applyDeadZone(n, d);
      EXPECT_GE(v, 0.0f);
      EXPECT_LE(v, 1.0f);
      if (n < d) EXPECT_EQ(v, 0.0f);
      EXPECT_GE(v, previous);
      previous = v;
    }
    EXPECT_EQ(applyDeadZone(1.0f, d), 1.0f);
  }
}

// The driver's own settings reach the computation, mouse mode through the record's copy.
TEST(Pressure, DriverAppliesItsDampingAndMouseMode) {
  testing::DriverHarness h;
  BTDriverManager& d = h.start();
  h.feed(testing::tabletReport(0xC1, 1001, 1000, 4096));
  EXPECT_EQ(d.stylus().pressure, 32767);
  d.setPressureDamping(1.0f);
  EXPECT_FLOAT_EQ(d.pressureMod(), 1.5f);
  d.setEnableMouse(true);
  d.setPressureDamping(0.0f);
  h.feed(testing::tabletReport(0xC1, 1001, 1000, 100));
  EXPECT_EQ(d.stylus().pressure, 32767);
}

}  // namespace
}  // namespace taviro
