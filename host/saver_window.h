#pragma once
// The primary window's procedure and the cursor's home at its centre.
#include "platform/window.h"

// Makes the rendering context on creation; any key, the left or right button, a close or
// a destroy ends the run; mouse moves leave their offset from the centre pending.
long saverWindowProc(const WindowMessage& message);

// Undoes what creation made: deletes the rendering context and gives the device context back.
void releaseRenderContext();

// Puts the cursor at the centre of the primary window.
void centreCursor();
