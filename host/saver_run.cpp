#include "host/saver_run.h"

#include "host/monitor_views.h"
#include "host/monitors.h"
#include "host/run_loop.h"
#include "host/saver_app.h"
#include "host/saver_state.h"
#include "host/saver_window.h"
#include "platform/cursor.h"
#include "platform/display_mode.h"
#include "platform/gl_context.h"
#include "settings/settings.h"
#include "show/saver_content.h"

namespace {

const char* const primaryClass = "MyWindow";
const char* const blankClass = "FakeMonitor";
const char* const windowTitle = "Plasmora";

bool createWindows(SaverApp& app) {
  primaryWindow = 0;
  for (int i = 0; i < app.monitorCount; ++i) {
    MonitorRecord& record = app.monitors[i];
    if (record.monitor == 0) continue;
    const MonitorBounds& b = record.bounds;
    // The primary window runs in the display mode of the run, at its monitor's origin.
    WindowHandle window = primaryWindow == 0
                              ? createWindow(primaryClass, windowTitle, b.left, b.top,
                                             settings.Width, settings.Height, false)
                              : createWindow(blankClass, windowTitle, b.left, b.top,
                                             b.right - b.left, b.bottom - b.top, true);
    record.window = window;
    if (window == 0) return false;
    if (primaryWindow == 0) primaryWindow = window;
  }
  return primaryWindow != 0;
}

void shutDown(SaverApp& app) {
  stopContent();
  clearMonitorViews();
  restoreDisplayMode();
  releaseRenderContext();
  showCursor(true);
  for (int i = 0; i < app.monitorCount; ++i) {
    MonitorRecord& record = app.monitors[i];
    if (record.monitor == 0) continue;
    closeWindow(record.window);
    record.window = 0;
  }
  primaryWindow = 0;
  unregisterWindowClass(primaryClass);
  unregisterWindowClass(blankClass);
  showCursor(true);
}

}  // namespace

bool runSaver(SaverApp& app) {
  prepareRun();
  registerWindowClass(primaryClass, saverWindowProc);
  registerWindowClass(blankClass, nullptr);
  // A hack of the same user's already showing on another monitor keeps the music and the
  // gamma ramp; this run then draws only.
  settleOwnership();
  applyDisplayMode();
  if (!createWindows(app)) return false;
  showCursor(false);
  // A run that cannot play the music it was told to play ends before it shows anything.
  if (!startContent(primaryWindow)) {
    shutDown(app);
    return true;
  }
  setUpMonitorViews(app);
  for (int i = 0; i < app.monitorCount; ++i)
    if (app.monitors[i].monitor != 0) showWindow(app.monitors[i].window, app.showCommand);
  setFocus(primaryWindow);
  loadContent();

  RunShape shape;
  shape.mouseEnds = true;
  shape.watchesDisplayPower = true;
  runLoop(shape);

  shutDown(app);
  return true;
}
