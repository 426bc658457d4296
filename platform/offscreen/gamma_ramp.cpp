// Off-screen there is no display whose ramp could change; a ramp never alters the pixels a
// recording reads back, so refusing it loses nothing.
#include "platform/gamma_ramp.h"

bool setDisplayGammaRamp(const std::uint16_t[256], const std::uint16_t[256],
                         const std::uint16_t[256]) {
  return false;
}

bool restoreDisplayGammaRamp() { return false; }
