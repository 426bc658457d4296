#pragma once
// The show as a hack: drawn into a window that the caller provides (a screensaver daemon's
// window per monitor, a settings tool's preview, the root window) or into an ordinary window.
//
// Unlike the full-screen run it never makes a top-level window of its own (bar --window),
// never switches the display mode, never grabs the keyboard or hides the cursor, and ignores
// input: whoever started it decides when it ends, by SIGTERM, SIGINT, SIGHUP or SIGQUIT (seen
// within a frame), by destroying the window, or by closing the ordinary window. The picture
// takes the window's size and shape and follows it when it is resized.
//
// Of several hacks running at once only the one holding the owner lock
// (platform/owner_lock.h) plays music or touches the gamma ramp; the others draw only. A hack
// whose music module cannot be loaded draws without music rather than ending.
#include "host/hack_options.h"

class SaverApp;

// Exit status: 0 after a run, 1 when the window to draw into does not exist or nothing could
// be drawn into it (with a line on stderr).
int runHack(SaverApp& app, const HackOptions& options);
