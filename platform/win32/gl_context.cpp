#include "platform/gl_context.h"

#include <windows.h>

#include "platform/win32/wgl_formats.h"

namespace {

// WGL_ARB_pixel_format and WGL_ARB_multisample names.
constexpr int wglDrawToWindow = 0x2001, wglSupportOpenGl = 0x2010, wglDoubleBuffer = 0x2011,
              wglPixelType = 0x2013, wglTypeRgba = 0x202B, wglColourBits = 0x2014,
              wglDepthBits = 0x2022, wglStencilBits = 0x2023, wglSampleBuffers = 0x2041,
              wglSamples = 0x2042;

// A multisampled format from the driver's chooser; 0 when it has none to offer.
int chooseMultisampledFormat(HDC dc, const PixelFormat& request) {
  if (choosePixelFormatArb == nullptr || request.samples <= 0) return 0;
  const int attributes[] = {wglDrawToWindow,  1,
                            wglSupportOpenGl, 1,
                            wglDoubleBuffer,  request.doubleBuffer ? 1 : 0,
                            wglPixelType,     wglTypeRgba,
                            wglColourBits,    request.colourBits,
                            wglDepthBits,     request.depthBits,
                            wglStencilBits,   request.stencilBits,
                            wglSampleBuffers, 1,
                            wglSamples,       request.samples,
                            0};
  int format = 0;
  UINT count = 0;
  if (!choosePixelFormatArb(dc, attributes, nullptr, 1, &format, &count) || count == 0) return 0;
  return format;
}

HDC hdc(DeviceContext dc) { return reinterpret_cast<HDC>(dc); }

void describe(const PIXELFORMATDESCRIPTOR& pfd, PixelFormat& format) {
  format.doubleBuffer = (pfd.dwFlags & PFD_DOUBLEBUFFER) != 0;
  format.colourBits = pfd.cRedBits + pfd.cGreenBits + pfd.cBlueBits + pfd.cAlphaBits;
  format.depthBits = pfd.cDepthBits;
  format.stencilBits = pfd.cStencilBits;
}

using SwapIntervalExt = BOOL(WINAPI*)(int);
SwapIntervalExt swapIntervalExt = nullptr;

}  // namespace

DeviceContext getDeviceContext(WindowHandle window) {
  if (window == 0) return 0;
  return reinterpret_cast<DeviceContext>(GetDC(reinterpret_cast<HWND>(window)));
}

void releaseDeviceContext(WindowHandle window, DeviceContext dc) {
  if (dc != 0) ReleaseDC(reinterpret_cast<HWND>(window), hdc(dc));
}

int choosePixelFormat(DeviceContext dc, const PixelFormat& request) {
  if (dc == 0) return 0;
  if (const int multisampled = chooseMultisampledFormat(hdc(dc), request)) return multisampled;
  PIXELFORMATDESCRIPTOR pfd{};
  pfd.nSize = sizeof pfd;
  pfd.nVersion = 1;
  pfd.dwFlags =
      PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | (request.doubleBuffer ? PFD_DOUBLEBUFFER : 0);
  pfd.iPixelType = PFD_TYPE_RGBA;
  // Windows counts the colour depth as the frame buffer's bits per pixel (32 for eight bits
  // of red, green and blue); alpha is asked for apart and not here.
  pfd.cColorBits = static_cast<BYTE>(request.colourBits);
  pfd.cDepthBits = static_cast<BYTE>(request.depthBits);
  pfd.cStencilBits = static_cast<BYTE>(request.stencilBits);
  pfd.iLayerType = PFD_MAIN_PLANE;
  return ChoosePixelFormat(hdc(dc), &pfd);
}

bool describePixelFormat(DeviceContext dc, int n, PixelFormat& format) {
  PIXELFORMATDESCRIPTOR pfd{};
  if (dc == 0 || n < 1 || DescribePixelFormat(hdc(dc), n, sizeof pfd, &pfd) == 0) return false;
  describe(pfd, format);
  return true;
}

bool setPixelFormat(DeviceContext dc, int n) {
  if (dc == 0 || n < 1) return false;
  // A window keeps the first format it was given.
  const int present = GetPixelFormat(hdc(dc));
  if (present != 0) return present == n;
  PIXELFORMATDESCRIPTOR pfd{};
  if (DescribePixelFormat(hdc(dc), n, sizeof pfd, &pfd) == 0) return false;
  return SetPixelFormat(hdc(dc), n, &pfd) != FALSE;
}

RenderContext createRenderContext(DeviceContext dc) {
  if (dc == 0) return 0;
  return reinterpret_cast<RenderContext>(wglCreateContext(hdc(dc)));
}

bool makeCurrent(DeviceContext dc, RenderContext rc) {
  return wglMakeCurrent(hdc(dc), reinterpret_cast<HGLRC>(rc)) != FALSE;
}

void deleteRenderContext(RenderContext rc) {
  if (rc != 0) wglDeleteContext(reinterpret_cast<HGLRC>(rc));
}

void swapBuffers(DeviceContext dc) {
  if (dc != 0) SwapBuffers(hdc(dc));
}

void* glProcAddress(const char* name) {
  if (name == nullptr) return nullptr;
  PROC entry = wglGetProcAddress(name);
  // Some drivers answer a name they do not know with a small number instead of null.
  const auto value = reinterpret_cast<std::intptr_t>(entry);
  if (value >= -1 && value <= 3) entry = nullptr;
  // OpenGL 1.1 itself is exported by opengl32.dll, never through wglGetProcAddress.
  if (entry == nullptr) {
    if (HMODULE library = GetModuleHandleA("opengl32.dll")) entry = GetProcAddress(library, name);
  }
  return reinterpret_cast<void*>(entry);
}

bool swapControlAvailable() {
  swapIntervalExt = reinterpret_cast<SwapIntervalExt>(glProcAddress("wglSwapIntervalEXT"));
  return swapIntervalExt != nullptr;
}

void setSwapInterval(int interval) {
  if (swapIntervalExt != nullptr) swapIntervalExt(interval);
}
