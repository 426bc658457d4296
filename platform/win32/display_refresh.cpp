#include "platform/display_refresh.h"

#include <windows.h>

double displayRefreshRate() {
  DEVMODEA mode{};
  mode.dmSize = sizeof mode;
  if (!EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &mode)) return 0.0;
  // 0 and 1 stand for the hardware's default rate, which the driver does not name.
  if (mode.dmDisplayFrequency <= 1) return 0.0;
  return static_cast<double>(mode.dmDisplayFrequency);
}
