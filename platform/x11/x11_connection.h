#pragma once
// The one connection to the X server that every X11 service of the process shares.
#include <X11/Xlib.h>

// Opened on first use from $DISPLAY; null when there is no server to talk to.
Display* x11Display();

// Protocol errors are recorded instead of ending the process: call before a request that
// may be refused, then x11ErrorsSince() after an XSync tells whether it was.
void x11ClearErrors();
bool x11ErrorsSince();

// Whether a termination signal has asked the run to end (see quitOnTerminationSignals): a
// modal wait gives up when it has.
bool x11TerminationRequested();

// The keyboard grab of a run, let go while a message box needs the keyboard and taken back
// after.
void x11SuspendKeyboardGrab();
void x11ResumeKeyboardGrab();
