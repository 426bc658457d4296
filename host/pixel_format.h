#pragma once
// The pixel format of the primary window.

// Gives primaryDC a double-buffered RGBA format with 32 colour, 24 depth and 8 stencil bits,
// (and four samples per pixel where a graphics card draws), or the nearest one offered,
// falling back to the first format there is.
bool setupPixelFormat();
