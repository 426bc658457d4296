#pragma once
// Drawing a fixed picture into a window without OpenGL: the preview's one picture.
#include "platform/window.h"

// Copies an RGB8 picture (rows top-down, `width` x `height`) into the window's client area with
// its top-left corner at (x, y), unscaled; what lies outside the window is clipped. False for a
// window that is not ours, an empty or implausibly large picture (over 4096 pixels either
// way), or a display whose pixel format cannot hold it.
bool drawPicture(WindowHandle window, int x, int y, int width, int height,
                 const unsigned char* rgb);
