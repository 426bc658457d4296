#pragma once
// Windows a hack draws into that are not made by the show's window classes: the desktop's
// root window, and an ordinary window for trying the show out, which the window manager
// frames, places and lets the user resize and close.
#include "platform/window.h"

// The root window of the default screen; 0 without a display.
WindowHandle rootWindow();

// An ordinary top-level window of width x height with the title, mapped; closing it in the
// window manager gives a Close message for it. 0 on failure.
WindowHandle createOrdinaryWindow(const char* title, int width, int height);
void destroyOrdinaryWindow(WindowHandle window);
