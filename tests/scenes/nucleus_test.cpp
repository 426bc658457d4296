// The nucleus's particle cloud without GL.
#include "scenes/nucleus.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

TEST(Nucleus, ParticlesDrawTheirValuesInRange) {
  seedRandom(11);
  const Nucleus nucleus;
  seedRandom(11);
  std::vector<float> first;
  for (int k = 0; k < 14; ++k) first.push_back(randomUnit());
  EXPECT_FLOAT_EQ(nucleus.spinAngle[0], 360 * first[0]);
  EXPECT_FLOAT_EQ(nucleus.radius[0], 270 + 600 * first[9]);
  EXPECT_FLOAT_EQ(nucleus.particleColour[0].x, 1 - 0.7f * first[12]);
  EXPECT_FLOAT_EQ(nucleus.spinAngle[1], 360 * first[13]);  // 13 draws each

  struct Range {
    const char* name;
    float (*value)(const Nucleus&, std::size_t);
    float low, high;
  } ranges[] = {
      {"spinAngle", [](const Nucleus& n, std::size_t i) { return n.spinAngle[i]; }, 0, 360},
      {"speed", [](const Nucleus& n, std::size_t i) { return n.speed[i]; }, 1, 21},
      {"radius", [](const Nucleus& n, std::size_t i) { return n.radius[i]; }, 270, 870},
      {"red", [](const Nucleus& n, std::size_t i) { return n.particleColour[i].x; }, 0.3f, 1},
  };
  for (const Range& r : ranges) {
    float low = 1e9f, high = -1e9f;
    for (std::size_t i = 0; i < Nucleus::particleCount; ++i) {
      low = std::min(low, r.value(nucleus, i));
      high = std::max(high, r.value(nucleus, i));
    }
    EXPECT_GE(low, r.low) << r.name;
    EXPECT_LE(high, r.high) << r.name;
    // 1400 draws reach close to both ends.
    EXPECT_LT(low, r.low + 0.02f * (r.high - r.low)) << r.name;
    EXPECT_GT(high, r.high - 0.02f * (r.high - r.low)) << r.name;
  }
  for (std::size_t i = 0; i < Nucleus::particleCount; ++i) {
    ASSERT_NEAR(length(nucleus.orbitAxis[i]), 1.0f, 1e-4f);
    ASSERT_NEAR(length(nucleus.selfAxis[i]), 1.0f, 1e-4f);
  }
}

}  // namespace
