#include "show/gamma_control.h"

#include <algorithm>
#include <cmath>

#include "platform/gamma_ramp.h"

float gammaExponent(std::int32_t gammaSetting) {
  const float value = static_cast<float>(std::clamp<std::int32_t>(gammaSetting, 0, 100));
  return 1.0f - (value - 50.0f) / 50.0f * 0.5f;
}

void buildGammaRamp(float exponent, std::uint16_t table[256]) {
  for (int k = 0; k < 256; ++k) {
    const double entry = std::pow(k / 256.0, static_cast<double>(exponent)) * 65536.0;
    table[k] = static_cast<std::uint16_t>(std::trunc(entry));
  }
}

bool setGammaRamp(float red, float green, float blue) {
  std::uint16_t ramps[3][256];
  buildGammaRamp(red, ramps[0]);
  buildGammaRamp(green, ramps[1]);
  buildGammaRamp(blue, ramps[2]);
  return setDisplayGammaRamp(ramps[0], ramps[1], ramps[2]);
}

void restoreGammaRamp() {
  if (!restoreDisplayGammaRamp()) setGammaRamp(1.0f, 1.0f, 1.0f);
}
