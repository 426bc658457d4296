#include "platform/gamma_ramp.h"

#include <windows.h>

#include <cstring>

namespace {

// The ramp found before this process first set one: red, green, blue.
WORD kept[3][256];
bool haveKept = false;
bool triedKeeping = false;

// The device gamma ramp belongs to the display; the screen's device context reaches the
// primary one.
bool applyRamp(WORD ramp[3][256]) {
  HDC screen = GetDC(nullptr);
  if (screen == nullptr) return false;
  const bool ok = SetDeviceGammaRamp(screen, ramp) != FALSE;
  ReleaseDC(nullptr, screen);
  return ok;
}

// A crash must not leave the display at the run's brightness: the system puts back the display
// mode of a dead process, but not its gamma ramp.
LONG WINAPI restoreOnCrash(EXCEPTION_POINTERS*) {
  if (haveKept) applyRamp(kept);
  return EXCEPTION_CONTINUE_SEARCH;
}

}  // namespace

bool setDisplayGammaRamp(const std::uint16_t red[256], const std::uint16_t green[256],
                         const std::uint16_t blue[256]) {
  if (!triedKeeping) {
    triedKeeping = true;
    HDC screen = GetDC(nullptr);
    haveKept = screen != nullptr && GetDeviceGammaRamp(screen, kept) != FALSE;
    if (screen != nullptr) ReleaseDC(nullptr, screen);
    if (haveKept) SetUnhandledExceptionFilter(restoreOnCrash);
  }
  WORD ramp[3][256];
  std::memcpy(ramp[0], red, sizeof ramp[0]);
  std::memcpy(ramp[1], green, sizeof ramp[1]);
  std::memcpy(ramp[2], blue, sizeof ramp[2]);
  return applyRamp(ramp);
}

bool restoreDisplayGammaRamp() {
  if (!haveKept) return false;
  const bool ok = applyRamp(kept);
  if (ok) {
    // The next run's first ramp keeps the ramp in force then.
    haveKept = false;
    triedKeeping = false;
  }
  return ok;
}
