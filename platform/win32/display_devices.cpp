#include "platform/display_devices.h"

#include <windows.h>

#include <vector>

#include "platform/win32/proc_address.h"

namespace {

// The multi-monitor functions, found by name in USER32 when first needed. They count only
// when all of them are there and the virtual screen holds the primary one, as on a system
// that really has them; the decision is taken once per process. Of them, the device list and
// the monitor of a rectangle are used.
using EnumDisplayDevicesFn = BOOL(WINAPI*)(LPCSTR, DWORD, PDISPLAY_DEVICEA, DWORD);
using MonitorFromRectFn = HMONITOR(WINAPI*)(LPCRECT, DWORD);

struct MultiMonitor {
  bool available = false;
  EnumDisplayDevicesFn enumDisplayDevices = nullptr;
  MonitorFromRectFn monitorFromRect = nullptr;
};

const MultiMonitor& multiMonitor() {
  static const MultiMonitor functions = [] {
    MultiMonitor found;
    HMODULE user32 = GetModuleHandleA("USER32");
    if (user32 == nullptr) return found;
    using GetSystemMetricsFn = int(WINAPI*)(int);
    auto getSystemMetrics = procAddress<GetSystemMetricsFn>(user32, "GetSystemMetrics");
    found.enumDisplayDevices = procAddress<EnumDisplayDevicesFn>(user32, "EnumDisplayDevicesA");
    found.monitorFromRect = procAddress<MonitorFromRectFn>(user32, "MonitorFromRect");
    bool all = getSystemMetrics != nullptr && found.enumDisplayDevices != nullptr &&
               found.monitorFromRect != nullptr;
    for (const char* name :
         {"MonitorFromWindow", "MonitorFromPoint", "EnumDisplayMonitors", "GetMonitorInfoA"})
      all = all && GetProcAddress(user32, name) != nullptr;
    found.available = all &&
                      getSystemMetrics(SM_CXVIRTUALSCREEN) >= getSystemMetrics(SM_CXSCREEN) &&
                      getSystemMetrics(SM_CYVIRTUALSCREEN) >= getSystemMetrics(SM_CYSCREEN);
    return found;
  }();
  return functions;
}

// Taken when device 0 is read, so that one enumeration sees one consistent desktop. Windows
// may list the primary device after others; it is put first, as the saver's GL window goes on
// the first device and the display mode switch acts on the primary one.
std::vector<DisplayDevice> devices;

DisplayDevice deviceOf(const DISPLAY_DEVICEA& entry) {
  DisplayDevice device;
  device.attachedToDesktop = (entry.StateFlags & DISPLAY_DEVICE_ATTACHED_TO_DESKTOP) != 0;
  device.primary = (entry.StateFlags & DISPLAY_DEVICE_PRIMARY_DEVICE) != 0;
  device.mirroring = (entry.StateFlags & DISPLAY_DEVICE_MIRRORING_DRIVER) != 0;
  if (!device.attachedToDesktop) return device;
  DEVMODEA mode{};
  mode.dmSize = sizeof mode;
  if (EnumDisplaySettingsA(entry.DeviceName, ENUM_CURRENT_SETTINGS, &mode)) {
    // The primary device lies at the desktop's origin by definition.
    if (!device.primary) {
      device.left = mode.dmPosition.x;
      device.top = mode.dmPosition.y;
    }
    device.width = static_cast<int>(mode.dmPelsWidth);
    device.height = static_cast<int>(mode.dmPelsHeight);
  }
  return device;
}

void takeInventory() {
  devices.clear();
  const MultiMonitor& functions = multiMonitor();
  if (!functions.available) return;
  std::vector<DisplayDevice> others;
  DISPLAY_DEVICEA entry{};
  entry.cb = sizeof entry;
  // Bounded: a driver listing devices without end cannot hold the program here.
  for (DWORD i = 0; i < 256 && functions.enumDisplayDevices(nullptr, i, &entry, 0); ++i) {
    const DisplayDevice device = deviceOf(entry);
    if (device.primary && devices.empty())
      devices.push_back(device);
    else
      others.push_back(device);
    entry = DISPLAY_DEVICEA{};
    entry.cb = sizeof entry;
  }
  devices.insert(devices.end(), others.begin(), others.end());
}

}  // namespace

bool displayDevice(int index, DisplayDevice& device) {
  if (index == 0) takeInventory();
  if (index < 0 || static_cast<std::size_t>(index) >= devices.size()) return false;
  device = devices[static_cast<std::size_t>(index)];
  return true;
}

std::uintptr_t monitorFromRect(int left, int top, int right, int bottom) {
  const MultiMonitor& functions = multiMonitor();
  if (!functions.available) return 0;
  const RECT area{left, top, right, bottom};
  return reinterpret_cast<std::uintptr_t>(functions.monitorFromRect(&area, MONITOR_DEFAULTTONULL));
}
