#pragma once
// The primary display's hardware gamma ramp.
#include <cstdint>

// Three tables of 256 entries (red, green, blue); false when the display refuses them. The
// first ramp of a process keeps the ramp that was in force before it (a colour calibration,
// a night-light ramp), for restoreDisplayGammaRamp.
bool setDisplayGammaRamp(const std::uint16_t red[256], const std::uint16_t green[256],
                         const std::uint16_t blue[256]);

// Puts back the ramp that was in force before the first setDisplayGammaRamp, exactly; false
// when none was kept (the ramp was never set, or the old one could not be read).
bool restoreDisplayGammaRamp();
