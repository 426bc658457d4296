#pragma once
// The windows this process made, shared by the window, cursor, message and GL services, and
// the cursor in force over them. X hides the cursor per window: over ours it is blank, and it
// comes back by itself when they are gone, however the process ends.
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
  // For a child window: the window it lies in, whose size it follows.
  Window parent = 0;
};

// Null for a handle that is not (or no longer) one of ours.
X11Window* findX11Window(WindowHandle handle);

// Records a new window and gives it the cursor in force.
void addX11Window(const X11Window& window);
// Forgets a window (after it has been destroyed); false when it was not ours.
bool removeX11Window(WindowHandle handle);

// The parent window of some of ours now has this size: each child of it takes the size less
// its place in the parent (at least 1 x 1).
void followParentSize(Window parent, int width, int height);

// Hides the cursor over every window, present and future, or shows it again.
void setX11CursorHidden(bool hidden);
