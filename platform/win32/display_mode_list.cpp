#include "platform/display_mode_list.h"

#include <windows.h>

// Every mode the primary display's driver lists, in its order: a size and depth appears once
// for each refresh rate and output setting, which the dialog's list folds.
std::vector<DisplayMode> listDisplayModes() {
  std::vector<DisplayMode> modes;
  DEVMODEA mode{};
  mode.dmSize = sizeof mode;
  // Bounded: a driver listing modes without end cannot hold the dialog here.
  for (DWORD i = 0; i < 100000 && EnumDisplaySettingsA(nullptr, i, &mode); ++i) {
    modes.push_back({static_cast<int>(mode.dmPelsWidth), static_cast<int>(mode.dmPelsHeight),
                     static_cast<int>(mode.dmBitsPerPel)});
    mode = DEVMODEA{};
    mode.dmSize = sizeof mode;
  }
  return modes;
}
