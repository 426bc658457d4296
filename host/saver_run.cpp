#include "host/saver_run.h"

#include "host/frame_diagnostics.h"
#include "host/frame_timer.h"
#include "host/monitors.h"
#include "host/saver_app.h"
#include "host/saver_state.h"
#include "host/saver_window.h"
#include "platform/clock.h"
#include "platform/cursor.h"
#include "platform/display_mode.h"
#include "platform/gl_context.h"
#include "platform/message_queue.h"
#include "platform/owner_lock.h"
#include "render/math.h"
#include "settings/settings.h"
#include "show/saver_content.h"

namespace {

const char* const primaryClass = "MyWindow";
const char* const blankClass = "FakeMonitor";
const char* const windowTitle = "Plasmora";

// Mouse travel beyond this, right and down counting positive, ends the run when enabled.
constexpr float mouseExitTravel = 7.0f;

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

// Adds a pending offset to the travel and re-centres the cursor so that the next move is
// again measured from the centre.
void consumeMouse(float& pending, float& travel) {
  if (pending == 0.0f) return;
  travel += pending;
  pending = 0.0f;
  centreCursor();
}

void shutDown(SaverApp& app) {
  stopContent();
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
  seedRandom(static_cast<unsigned int>(performanceCounter()));
  FrameTimer timer;
  secondsPerTick = 1.0 / static_cast<double>(performanceFrequency());
  registerWindowClass(primaryClass, saverWindowProc);
  registerWindowClass(blankClass, nullptr);
  // Those who stop a saver with a signal get the display back as a key would leave it.
  quitOnTerminationSignals();
  // A hack of the same user's already showing on another monitor keeps the music and the
  // gamma ramp; this run then draws only.
  if (!takeOwnership()) {
    settings.EnableMusic = false;
    settings.DefGamma = true;
  }
  applyDisplayMode();
  if (!createWindows(app)) return false;
  showCursor(false);
  // A run that cannot play the music it was told to play ends before it shows anything.
  if (!startContent(primaryWindow)) {
    shutDown(app);
    return true;
  }
  for (int i = 0; i < app.monitorCount; ++i)
    if (app.monitors[i].monitor != 0) showWindow(app.monitors[i].window, app.showCommand);
  setFocus(primaryWindow);
  loadContent();

  bool running = true;
  float mouseTravel = 0.0f;
  pendingMouseX = pendingMouseY = 0.0f;
  centreCursor();
  float dt = 0.0f;
  timer.restart();
  FrameDiagnostics diagnostics;

  while (running) {
    WindowMessage message;
    // Pending messages first, one per pass; a frame only when there are none.
    if (peekMessage(message)) {
      if (message.type == WindowMessageType::Quit)
        running = false;
      else
        dispatchMessage(message);
      continue;
    }
    dt = static_cast<float>(timer.measure());
    timer.restart();
    advanceObjects(dt);
    consumeMouse(pendingMouseX, mouseTravel);
    consumeMouse(pendingMouseY, mouseTravel);
    // The frame in which the travel runs out is still drawn.
    if (settings.MouseExit && mouseTravel > mouseExitTravel) running = false;
    directAndDraw(dt);
    diagnostics.frameDrawn();
  }

  shutDown(app);
  return true;
}
