// The kind of renderer, asked of a throwaway context on a 1 x 1 pixel buffer of the screen
// before any window has chosen its format (a window keeps the format it was given).
#include <GL/glx.h>

#include "platform/gl_context.h"
#include "platform/renderer_kind.h"
#include "platform/x11/x11_connection.h"

namespace {

bool probeRenderer() {
  Display* display = x11Display();
  if (display == nullptr) return false;
  const int wanted[] = {GLX_DRAWABLE_TYPE, GLX_PBUFFER_BIT, GLX_RENDER_TYPE, GLX_RGBA_BIT, None};
  int count = 0;
  GLXFBConfig* configs = glXChooseFBConfig(display, DefaultScreen(display), wanted, &count);
  if (configs == nullptr) return false;
  bool accelerated = false;
  if (count > 0) {
    x11ClearErrors();
    const int size[] = {GLX_PBUFFER_WIDTH, 1, GLX_PBUFFER_HEIGHT, 1, None};
    GLXPbuffer buffer = glXCreatePbuffer(display, configs[0], size);
    GLXContext context =
        glXCreateNewContext(display, configs[0], GLX_RGBA_TYPE, nullptr, True);
    if (buffer != 0 && context != nullptr && !x11ErrorsSince() &&
        glXMakeContextCurrent(display, buffer, buffer, context)) {
      accelerated =
          !isSoftwareRenderer(reinterpret_cast<const char*>(glGetString(GL_RENDERER)));
      glXMakeContextCurrent(display, None, None, nullptr);
    }
    if (context != nullptr) glXDestroyContext(display, context);
    if (buffer != 0) glXDestroyPbuffer(display, buffer);
    x11ErrorsSince();
  }
  XFree(configs);
  return accelerated;
}

}  // namespace

bool acceleratedRenderer() {
  static const bool accelerated = probeRenderer();
  return accelerated;
}
