#pragma once
// The one connection to the X server that every X11 service of the process shares.
#include <X11/Xlib.h>

// Opened on first use from $DISPLAY; null when there is no server to talk to.
Display* x11Display();

// Protocol errors are recorded instead of ending the process: call before a request that
// may be refused, then x11ErrorsSince() after an XSync tells whether it was.
void x11ClearErrors();
bool x11ErrorsSince();
