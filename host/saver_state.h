#pragma once
// State of the saver run shared by the run, its window procedure and the content.
#include "platform/gl_context.h"
#include "platform/window.h"

extern WindowHandle primaryWindow;
extern DeviceContext primaryDC;
extern RenderContext renderContext;

// The last mouse offset from the primary window's centre, scaled by 0.3; 0 when none.
extern float pendingMouseX;
extern float pendingMouseY;

// 1 / the frequency of the performance counter.
extern double secondsPerTick;
