#include "platform/gl_context.h"

#include <GL/glx.h>

#include <cstdlib>
#include <cstring>

#include "platform/x11/x11_connection.h"
#include "platform/x11/x11_windows.h"

namespace {

// The screen's frame-buffer configurations; pixel format n is entry n - 1.
GLXFBConfig* configs(int& count) {
  static GLXFBConfig* list = nullptr;
  static int listCount = 0;
  Display* display = x11Display();
  if (list == nullptr && display != nullptr)
    list = glXGetFBConfigs(display, DefaultScreen(display), &listCount);
  count = list != nullptr ? listCount : 0;
  return list;
}

GLXFBConfig configOf(int n) {
  int count = 0;
  GLXFBConfig* list = configs(count);
  return n >= 1 && n <= count ? list[n - 1] : nullptr;
}

int attribute(GLXFBConfig config, int name) {
  int value = 0;
  glXGetFBConfigAttrib(x11Display(), config, name, &value);
  return value;
}

// Formats that can draw RGBA into a window.
bool usable(GLXFBConfig config) {
  return (attribute(config, GLX_DRAWABLE_TYPE) & GLX_WINDOW_BIT) != 0 &&
         (attribute(config, GLX_RENDER_TYPE) & GLX_RGBA_BIT) != 0 &&
         attribute(config, GLX_X_RENDERABLE) != 0 && attribute(config, GLX_VISUAL_ID) != 0;
}

void describe(GLXFBConfig config, PixelFormat& format) {
  format.doubleBuffer = attribute(config, GLX_DOUBLEBUFFER) != 0;
  format.colourBits = attribute(config, GLX_RED_SIZE) + attribute(config, GLX_GREEN_SIZE) +
                      attribute(config, GLX_BLUE_SIZE) + attribute(config, GLX_ALPHA_SIZE);
  format.depthBits = attribute(config, GLX_DEPTH_SIZE);
  format.stencilBits = attribute(config, GLX_STENCIL_SIZE);
  format.samples = attribute(config, GLX_SAMPLE_BUFFERS) > 0 ? attribute(config, GLX_SAMPLES) : 0;
}

bool hasExtension(const char* name) {
  Display* display = x11Display();
  if (display == nullptr) return false;
  const char* list = glXQueryExtensionsString(display, DefaultScreen(display));
  std::size_t length = std::strlen(name);
  for (const char* p = list; p != nullptr && (p = std::strstr(p, name)) != nullptr; p += length) {
    bool starts = p == list || p[-1] == ' ';
    bool ends = p[length] == ' ' || p[length] == '\0';
    if (starts && ends) return true;
  }
  return false;
}

using SwapIntervalExt = void (*)(Display*, GLXDrawable, int);
using SwapIntervalMesa = int (*)(unsigned);
SwapIntervalExt swapIntervalExt = nullptr;
SwapIntervalMesa swapIntervalMesa = nullptr;

}  // namespace

DeviceContext getDeviceContext(WindowHandle window) {
  return findX11Window(window) != nullptr ? window : 0;
}

void releaseDeviceContext(WindowHandle, DeviceContext) {}

int choosePixelFormat(DeviceContext dc, const PixelFormat& request) {
  Display* display = x11Display();
  if (display == nullptr || findX11Window(dc) == nullptr) return 0;
  int count = 0;
  GLXFBConfig* list = configs(count);
  int defaultDepth = DefaultDepth(display, DefaultScreen(display));
  int best = 0;
  long bestScore = 0;
  for (int i = 0; i < count; ++i) {
    if (!usable(list[i])) continue;
    PixelFormat offer;
    describe(list[i], offer);
    if (offer.doubleBuffer != request.doubleBuffer) continue;
    // Nearest in every buffer, and a surface the window can show as it is.
    long score = std::labs(offer.colourBits - request.colourBits) +
                 2 * std::labs(offer.depthBits - request.depthBits) +
                 2 * std::labs(offer.stencilBits - request.stencilBits) +
                 20 * std::labs(offer.samples - request.samples);
    XVisualInfo* visual = glXGetVisualFromFBConfig(display, list[i]);
    if (visual == nullptr) continue;
    if (visual->depth != defaultDepth) score += 1000;
    XFree(visual);
    if (attribute(list[i], GLX_CONFIG_CAVEAT) != GLX_NONE) score += 100;
    if (best == 0 || score < bestScore) {
      best = i + 1;
      bestScore = score;
    }
  }
  return best;
}

bool describePixelFormat(DeviceContext dc, int n, PixelFormat& format) {
  GLXFBConfig config = configOf(n);
  if (findX11Window(dc) == nullptr || config == nullptr || !usable(config)) return false;
  describe(config, format);
  return true;
}

bool setPixelFormat(DeviceContext dc, int n) {
  Display* display = x11Display();
  X11Window* w = findX11Window(dc);
  GLXFBConfig config = configOf(n);
  if (w == nullptr || config == nullptr || !usable(config)) return false;
  if (w->pixelFormat != 0) return w->pixelFormat == n;
  XVisualInfo* visual = glXGetVisualFromFBConfig(display, config);
  if (visual == nullptr) return false;
  XSetWindowAttributes attributes{};
  attributes.colormap = XCreateColormap(display, w->window, visual->visual, AllocNone);
  attributes.background_pixel = 0;
  attributes.border_pixel = 0;
  // The child takes no input itself: its events go on to the window.
  attributes.event_mask = NoEventMask;
  x11ClearErrors();
  Window surface =
      XCreateWindow(display, w->window, 0, 0, static_cast<unsigned>(w->width),
                    static_cast<unsigned>(w->height), 0, visual->depth, InputOutput, visual->visual,
                    CWColormap | CWBackPixel | CWBorderPixel | CWEventMask, &attributes);
  XFree(visual);
  if (surface == 0 || x11ErrorsSince()) return false;
  XMapWindow(display, surface);
  w->surface = surface;
  w->pixelFormat = n;
  return true;
}

RenderContext createRenderContext(DeviceContext dc) {
  const X11Window* w = findX11Window(dc);
  if (w == nullptr || w->pixelFormat == 0) return 0;
  x11ClearErrors();
  GLXContext context =
      glXCreateNewContext(x11Display(), configOf(w->pixelFormat), GLX_RGBA_TYPE, nullptr, True);
  if (context == nullptr || x11ErrorsSince()) return 0;
  return reinterpret_cast<RenderContext>(context);
}

bool makeCurrent(DeviceContext dc, RenderContext rc) {
  Display* display = x11Display();
  if (display == nullptr) return false;
  if (dc == 0 && rc == 0) return glXMakeContextCurrent(display, None, None, nullptr);
  const X11Window* w = findX11Window(dc);
  if (w == nullptr || w->surface == 0 || rc == 0) return false;
  return glXMakeContextCurrent(display, w->surface, w->surface, reinterpret_cast<GLXContext>(rc));
}

void deleteRenderContext(RenderContext rc) {
  if (rc != 0 && x11Display() != nullptr)
    glXDestroyContext(x11Display(), reinterpret_cast<GLXContext>(rc));
}

void swapBuffers(DeviceContext dc) {
  const X11Window* w = findX11Window(dc);
  if (w != nullptr && w->surface != 0) glXSwapBuffers(x11Display(), w->surface);
}

void* glProcAddress(const char* name) {
  return reinterpret_cast<void*>(glXGetProcAddressARB(reinterpret_cast<const GLubyte*>(name)));
}

bool swapControlAvailable() {
  // Only names the server lists: some servers hand out a stub for any name that crashes.
  swapIntervalExt = nullptr;
  swapIntervalMesa = nullptr;
  if (hasExtension("GLX_EXT_swap_control"))
    swapIntervalExt = reinterpret_cast<SwapIntervalExt>(glProcAddress("glXSwapIntervalEXT"));
  else if (hasExtension("GLX_MESA_swap_control"))
    swapIntervalMesa = reinterpret_cast<SwapIntervalMesa>(glProcAddress("glXSwapIntervalMESA"));
  return swapIntervalExt != nullptr || swapIntervalMesa != nullptr;
}

void setSwapInterval(int interval) {
  if (swapIntervalExt != nullptr) {
    GLXDrawable drawable = glXGetCurrentDrawable();
    if (drawable != 0) swapIntervalExt(x11Display(), drawable, interval);
  } else if (swapIntervalMesa != nullptr) {
    swapIntervalMesa(static_cast<unsigned>(interval));
  }
}
