// The kind of renderer, asked of a throwaway context on a hidden window of its own before the
// saver's windows choose their formats (a window keeps the first format it is given). The same
// context yields the driver's format chooser, which multisampled formats need.
#include <GL/gl.h>
#include <windows.h>

#include "platform/gl_context.h"
#include "platform/renderer_kind.h"
#include "platform/win32/wgl_formats.h"

ChoosePixelFormatArb choosePixelFormatArb = nullptr;

namespace {

const char* const probeClass = "PlasmoraRendererProbe";

bool probeRenderer() {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSA windowClass{};
  windowClass.style = CS_OWNDC;
  windowClass.lpfnWndProc = DefWindowProcA;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = probeClass;
  if (RegisterClassA(&windowClass) == 0) return false;
  bool accelerated = false;
  HWND window = CreateWindowA(probeClass, "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, instance,
                              nullptr);
  HDC dc = window != nullptr ? GetDC(window) : nullptr;
  if (dc != nullptr) {
    PIXELFORMATDESCRIPTOR pfd{};
    pfd.nSize = sizeof pfd;
    pfd.nVersion = 1;
    pfd.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    pfd.iPixelType = PFD_TYPE_RGBA;
    pfd.cColorBits = 32;
    pfd.cDepthBits = 24;
    const int format = ChoosePixelFormat(dc, &pfd);
    HGLRC context = nullptr;
    if (format != 0 && SetPixelFormat(dc, format, &pfd)) context = wglCreateContext(dc);
    if (context != nullptr && wglMakeCurrent(dc, context)) {
      accelerated =
          !isSoftwareRenderer(reinterpret_cast<const char*>(glGetString(GL_RENDERER)));
      choosePixelFormatArb = reinterpret_cast<ChoosePixelFormatArb>(
          reinterpret_cast<void*>(wglGetProcAddress("wglChoosePixelFormatARB")));
      wglMakeCurrent(nullptr, nullptr);
    }
    if (context != nullptr) wglDeleteContext(context);
    ReleaseDC(window, dc);
  }
  if (window != nullptr) DestroyWindow(window);
  UnregisterClassA(probeClass, instance);
  return accelerated;
}

}  // namespace

bool acceleratedRenderer() {
  static const bool accelerated = probeRenderer();
  return accelerated;
}
