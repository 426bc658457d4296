#include "host/settings.h"
#include "platform/display_mode.h"
#include "platform/settings_store.h"

void loadSettings() {
  DisplayMode desktop;
  bool haveDesktop = currentDisplayMode(desktop);
  applyStoredValues(settings, readStoredValues(), haveDesktop ? &desktop : nullptr);
}

bool saveSettings() { return writeStoredValues(storedValuesOf(settings)); }
