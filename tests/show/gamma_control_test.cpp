// The brightness ramp: the worked entries of its formula, and settings outside the dialog's
// range clamped so the ramp stays a rising curve.
#include <gtest/gtest.h>

#include "show/gamma_control.h"

namespace {

TEST(GammaControl, WorkedEntriesOfTheRamp) {
  struct Case {
    std::int32_t setting;
    std::uint16_t at0, at1, at128, at255;
  };
  const Case cases[] = {
      {0, 0, 16, 23170, 65152},      // exponent 1.5
      {100, 0, 4096, 46340, 65407},  // exponent 0.5
      {50, 0, 256, 32768, 65280},    // linear: k * 256
      {-40, 0, 16, 23170, 65152},    // a hand-edited value below the range reads as 0
      {900, 0, 4096, 46340, 65407},  // and above it as 100
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.setting);
    std::uint16_t ramp[256];
    buildGammaRamp(gammaExponent(c.setting), ramp);
    EXPECT_EQ(ramp[0], c.at0);
    EXPECT_EQ(ramp[1], c.at1);
    EXPECT_EQ(ramp[128], c.at128);
    EXPECT_EQ(ramp[255], c.at255);
    for (int k = 1; k < 256; ++k) ASSERT_GT(ramp[k], ramp[k - 1]) << k;
  }
  std::uint16_t linear[256];
  buildGammaRamp(gammaExponent(50), linear);
  for (int k = 0; k < 256; ++k) EXPECT_EQ(linear[k], k * 256);
}

}  // namespace
