#pragma once
// The primary display's hardware gamma ramp.
#include <cstdint>

// Three tables of 256 entries (red, green, blue); false when the display refuses them.
bool setDisplayGammaRamp(const std::uint16_t red[256], const std::uint16_t green[256],
                         const std::uint16_t blue[256]);
