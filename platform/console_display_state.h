#pragma once
// The console display state as Windows announces it to a window that asked for it
// (RegisterPowerSettingNotification with GUID_CONSOLE_DISPLAY_STATE; WM_POWERBROADCAST with
// PBT_POWERSETTINGCHANGE): a POWERBROADCAST_SETTING, the setting's GUID, a 32-bit data length
// and the data, here a 32-bit state (0 off, 1 on, 2 dimmed). Read from its bytes, apart from
// the system's headers, so that every build checks the reading.
#include <cstddef>

// True when the bytes hold a console display state; `off` is then whether the display is off
// (a dimmed display can still be seen). False for another setting or a short or odd block.
bool readConsoleDisplayState(const void* setting, std::size_t size, bool& off);
