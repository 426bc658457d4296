#include "platform/display_power.h"

#include "platform/console_display_state.h"
#include "platform/win32/win32_windows.h"

namespace {

// What the last console display notification said; on until told otherwise.
bool displayOff = false;

// GUID_CONSOLE_DISPLAY_STATE, {6FE69556-704A-47A0-8F24-C28D936FDA47}.
const GUID consoleDisplayState = {
    0x6FE69556, 0x704A, 0x47A0, {0x8F, 0x24, 0xC2, 0x8D, 0x93, 0x6F, 0xDA, 0x47}};

}  // namespace

bool displayPoweredDown() { return displayOff; }

void* win32WatchDisplayPower(HWND window) {
  // The system sends the present state at once, then every change.
  return RegisterPowerSettingNotification(window, &consoleDisplayState,
                                          DEVICE_NOTIFY_WINDOW_HANDLE);
}

void win32StopWatchingDisplayPower(void* registration) {
  if (registration != nullptr)
    UnregisterPowerSettingNotification(static_cast<HPOWERNOTIFY>(registration));
}

void win32PowerBroadcast(WPARAM event, LPARAM data) {
  if (event != PBT_POWERSETTINGCHANGE || data == 0) return;
  const auto* setting = reinterpret_cast<const POWERBROADCAST_SETTING*>(data);
  bool off = false;
  if (readConsoleDisplayState(setting, sizeof(POWERBROADCAST_SETTING) - 1 + setting->DataLength,
                              off))
    displayOff = off;
}
