#pragma once
// The brightness of a run, set through the display's gamma ramp rather than the rendering.
//
// The exponent comes from the Gamma setting (0..100, 50 = linear; higher is brighter). A
// value outside 0..100, which only a hand-edited settings file can hold, is clamped so the
// ramp stays a valid rising curve. At the end of a run the ramp that was in force before it
// is put back exactly (a colour calibration or a night-light ramp survives the saver); only
// when it could not be read is the linear ramp left instead.
#include <cstdint>

// g = 1 - (Gamma - 50) / 50 * 0.5, in single precision: Gamma 0 gives 1.5, 100 gives 0.5.
float gammaExponent(std::int32_t gammaSetting);

// entry k = trunc(pow(k / 256, exponent) * 65536), in double precision.
void buildGammaRamp(float exponent, std::uint16_t table[256]);

// Builds the three channels' ramps and hands them to the display; whether it took them.
bool setGammaRamp(float red, float green, float blue);

// The end of a run: the ramp from before it, else the linear ramp.
void restoreGammaRamp();
