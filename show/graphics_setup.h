#pragma once
// The pixel format of the primary window and the one-time graphics start-up.

// Gives primaryDC a double-buffered RGBA format with 32 colour, 24 depth and 8 stencil bits,
// or the nearest one offered, falling back to the first format there is.
bool setupPixelFormat();

// Once the context is current: the extension entry points, vertexBuffersAvailable, and the
// swap interval (1 with VSync, else 0) where the interval can be set.
void initGraphics();
