#pragma once
// The windows this process made, shared by the window, cursor and GL services.
#include <X11/Xlib.h>

#include <vector>

#include "platform/window.h"

struct X11Window {
  Window window = 0;
  WindowProcedure procedure = nullptr;
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  // The GL surface: a child covering the window, made with the visual of its pixel format.
  Window surface = 0;
  int pixelFormat = 0;
};

// Null for a handle that is not (or no longer) one of ours.
X11Window* findX11Window(WindowHandle handle);
std::vector<X11Window>& x11Windows();

// Gives a new window the cursor in force (hidden or not).
void applyCursorTo(Window window);
