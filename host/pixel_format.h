#pragma once
// The pixel format of the primary window.
#include "platform/gl_context.h"

// Gives primaryDC a double-buffered RGBA format with 32 colour, 24 depth and 8 stencil bits,
// (and four samples per pixel where a graphics card draws), or the nearest one offered,
// falling back to the first format there is.
bool setupPixelFormat();

// Gives another window the format set up for primaryDC, so that the primary window's rendering
// context can draw into it too. False before setupPixelFormat succeeded or when refused.
bool sharePrimaryPixelFormat(DeviceContext dc);
