#include "platform/display_mode.h"

#include <windows.h>

namespace {

// Whether this process switched the mode and has not put it back.
bool switched = false;

}  // namespace

bool currentDisplayMode(DisplayMode& mode) {
  DEVMODEA present{};
  present.dmSize = sizeof present;
  if (!EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &present)) return false;
  mode.width = static_cast<int>(present.dmPelsWidth);
  mode.height = static_cast<int>(present.dmPelsHeight);
  mode.bitsPerPixel = static_cast<int>(present.dmBitsPerPel);
  return true;
}

// CDS_FULLSCREEN makes the switch temporary: it is never written to the registry, and the
// system puts the registry's mode back when the process ends without doing so itself.
bool changeDisplayMode(const DisplayMode& mode) {
  if (mode.width <= 0 || mode.height <= 0 || mode.bitsPerPixel <= 0) return false;
  DEVMODEA wanted{};
  wanted.dmSize = sizeof wanted;
  wanted.dmPelsWidth = static_cast<DWORD>(mode.width);
  wanted.dmPelsHeight = static_cast<DWORD>(mode.height);
  wanted.dmBitsPerPel = static_cast<DWORD>(mode.bitsPerPixel);
  wanted.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT | DM_BITSPERPEL;
  if (ChangeDisplaySettingsA(&wanted, CDS_FULLSCREEN) != DISP_CHANGE_SUCCESSFUL) return false;
  switched = true;
  return true;
}

void restoreDisplayMode() {
  if (!switched) return;
  // Back to the mode stored in the registry, which the temporary switch never changed.
  ChangeDisplaySettingsA(nullptr, 0);
  switched = false;
}
