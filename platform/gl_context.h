#pragma once
// An OpenGL rendering context on a window: device context, pixel format, rendering context,
// buffer swap and extension look-up.
#include <cstdint>

#include "platform/window.h"

using DeviceContext = std::uintptr_t;
using RenderContext = std::uintptr_t;

// What a pixel format offers, or what is asked of one.
struct PixelFormat {
  bool doubleBuffer = false;
  int colourBits = 0;  // red + green + blue + alpha
  int depthBits = 0;
  int stencilBits = 0;
  int samples = 0;  // per pixel for multisampling; 0 for none
};

// Whether the windows' GL is drawn by a graphics card rather than a software renderer
// (platform/renderer_kind.h). Found out once, before any window has a format, with a
// throwaway context; false when that cannot be made.
bool acceleratedRenderer();

// The window's device context; 0 for no window.
DeviceContext getDeviceContext(WindowHandle window);
void releaseDeviceContext(WindowHandle window, DeviceContext dc);

// Index (from 1) of the format that best matches the request, 0 when none does.
int choosePixelFormat(DeviceContext dc, const PixelFormat& request);
// Fills `format` with what format n offers; false when there is no format n.
bool describePixelFormat(DeviceContext dc, int n, PixelFormat& format);
// Gives the window format n; a window takes one format for its life.
bool setPixelFormat(DeviceContext dc, int n);

// A rendering context for the window's format, 0 on failure.
RenderContext createRenderContext(DeviceContext dc);
// Makes the context current on this thread; (0, 0) releases the current one.
bool makeCurrent(DeviceContext dc, RenderContext rc);
void deleteRenderContext(RenderContext rc);

void swapBuffers(DeviceContext dc);

// Entry point of the current context's implementation, null when unknown.
void* glProcAddress(const char* name);

// Whether the swap interval can be set; it is then set with setSwapInterval.
bool swapControlAvailable();
void setSwapInterval(int interval);
