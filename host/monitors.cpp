#include "host/monitors.h"

#include "host/saver_app.h"
#include "platform/cursor.h"
#include "platform/display_devices.h"
#include "platform/display_mode.h"
#include "settings/settings.h"

void enumerateMonitors(SaverApp& app) {
  app.monitorCount = 0;
  DisplayDevice device;
  for (int i = 0; app.monitorCount < maxMonitors && displayDevice(i, device); ++i) {
    if (device.mirroring) continue;
    MonitorRecord& record = app.monitors[app.monitorCount];
    record = MonitorRecord{};
    if (device.attachedToDesktop) {
      record.bounds = {device.left, device.top, device.left + device.width,
                       device.top + device.height};
      record.monitor = monitorFromRect(record.bounds.left, record.bounds.top, record.bounds.right,
                                       record.bounds.bottom);
    }
    ++app.monitorCount;
  }
}

void applyDisplayMode() {
  // A mode the display refuses (a stored mode the monitor no longer offers) leaves the
  // desktop's mode, and the primary window takes the desktop's size for this run: a window of
  // the stored size would leave part of the monitor uncovered, the desktop showing beside the
  // show, or reach past it.
  if (!changeDisplayMode(DisplayMode{settings.Width, settings.Height, settings.Depth})) {
    DisplayMode desktop;
    if (currentDisplayMode(desktop)) {
      settings.Width = desktop.width;
      settings.Height = desktop.height;
      settings.Depth = desktop.bitsPerPixel;
    }
  }
  showCursor(false);
}
