#include "host/pixel_format.h"

#include "host/saver_state.h"
#include "platform/gl_context.h"

namespace {
int primaryFormat = 0;
}  // namespace

bool setupPixelFormat() {
  PixelFormat request;
  request.doubleBuffer = true;
  request.colourBits = 32;
  request.depthBits = 24;
  request.stencilBits = 8;
  // Smooth edges where a graphics card draws: four samples per pixel. A software renderer
  // keeps one, since it would pay four times the fill; a format without samples is taken
  // where none with them is offered.
  if (acceleratedRenderer()) request.samples = 4;
  int n = choosePixelFormat(primaryDC, request);
  if (n == 0) {
    n = 1;
    if (!describePixelFormat(primaryDC, 1, request)) return false;
  }
  primaryFormat = setPixelFormat(primaryDC, n) ? n : 0;
  return primaryFormat != 0;
}

bool sharePrimaryPixelFormat(DeviceContext dc) {
  return primaryFormat != 0 && setPixelFormat(dc, primaryFormat);
}
