#include "host/graphics_setup.h"

#include "host/saver_state.h"
#include "host/settings.h"
#include "platform/gl_context.h"
#include "platform/gl_entry_points.h"

bool setupPixelFormat() {
  PixelFormat request;
  request.doubleBuffer = true;
  request.colourBits = 32;
  request.depthBits = 24;
  request.stencilBits = 8;
  int n = choosePixelFormat(primaryDC, request);
  if (n == 0) {
    n = 1;
    if (!describePixelFormat(primaryDC, 1, request)) return false;
  }
  return setPixelFormat(primaryDC, n);
}

void initGraphics() {
  bool swapControl = swapControlAvailable();
  lookUpGlEntryPoints(glProcAddress);
  // Set in both cases, overriding whatever the driver would do by default.
  if (swapControl) setSwapInterval(settings.VSync ? 1 : 0);
}
