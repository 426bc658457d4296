#include "host/hack_run.h"

#include <cstdio>
#include <cstdlib>

#include "host/run_loop.h"
#include "host/saver_app.h"
#include "host/saver_state.h"
#include "host/saver_window.h"
#include "platform/gl_context.h"
#include "platform/hack_window.h"
#include "platform/message_queue.h"
#include "render/window_projection.h"
#include "settings/settings.h"
#include "show/saver_content.h"

namespace {

const char* const hackClass = "PlasmoraHack";
const char* const windowTitle = "Plasmora";
constexpr int ordinaryWidth = 800, ordinaryHeight = 600;

// The GL surface as the full-screen run makes it; input is left to whoever started us.
long hackWindowProc(const WindowMessage& message) {
  switch (message.type) {
    case WindowMessageType::Create:
      return saverWindowProc(message);
    case WindowMessageType::Close:
    case WindowMessageType::Destroy:
      postQuitMessage();
      return 0;
    default:
      return defaultWindowProcedure(message);
  }
}

WindowHandle targetWindow(const HackOptions& options) {
  switch (options.target) {
    case HackTarget::WindowId:
      return options.windowId;
    case HackTarget::Root: {
      std::uint32_t id = 0;
      if (readWindowNumber(std::getenv("XSCREENSAVER_WINDOW"), id) && id != 0) return id;
      return rootWindow();
    }
    case HackTarget::OwnWindow:
      return createOrdinaryWindow(windowTitle, ordinaryWidth, ordinaryHeight);
    case HackTarget::None:
      break;
  }
  return 0;
}

void closeDown(const HackOptions& options, WindowHandle target) {
  stopContent();
  releaseRenderContext();
  closeWindow(primaryWindow);
  primaryWindow = 0;
  if (options.target == HackTarget::OwnWindow) destroyOrdinaryWindow(target);
  unregisterWindowClass(hackClass);
}

}  // namespace

int runHack(SaverApp&, const HackOptions& options) {
  prepareRun();
  registerWindowClass(hackClass, hackWindowProc);

  const WindowHandle target = targetWindow(options);
  int width = 0, height = 0;
  if (target == 0 || !clientRect(target, width, height)) {
    std::fprintf(stderr, "plasmora: no window 0x%lx to draw into\n",
                 static_cast<unsigned long>(target));
    return 1;
  }
  primaryWindow = createChildWindow(hackClass, windowTitle, target, 0, 0, width, height, true);
  if (primaryWindow == 0 || renderContext == 0) {
    std::fprintf(stderr, "plasmora: cannot draw into window 0x%lx\n",
                 static_cast<unsigned long>(target));
    if (primaryWindow != 0) closeDown(options, target);
    return 1;
  }

  // Machine-wide effects belong to one hack only.
  settleOwnership();
  if (!startContent(primaryWindow)) {
    std::fprintf(stderr, "plasmora: the music module cannot be loaded; drawing without music\n");
    settings.EnableMusic = false;  // nothing of the module is left loaded
    startContent(primaryWindow);
  }
  applyWindowProjection(width, height);
  loadContent();

  RunShape shape;
  // The window drawn into destroyed, or the ordinary window closed in the window manager.
  shape.endingWindow = target;
  shape.sizedWindow = primaryWindow;
  // Unmapped (the daemon's window taken down, the ordinary window iconified) or covered.
  shape.watched[0] = target;
  shape.watched[1] = primaryWindow;
  runLoop(shape);
  closeDown(options, target);
  return 0;
}
