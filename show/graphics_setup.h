#pragma once
// The one-time graphics start-up of a run.

// Once the context is current: the extension entry points, vertexBuffersAvailable, and the
// swap interval (1 with VSync, else 0) where the interval can be set.
void initGraphics();
