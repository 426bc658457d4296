#pragma once
// The program's icon on its top-level windows, as the window manager reads it: the
// _NET_WM_ICON property, each size as width, height and then its pixels as 0xAARRGGBB, row by
// row from the top, one value per long (Xlib's format for 32-bit properties).
#include <X11/Xlib.h>

#include <vector>

#include "platform/window.h"

// The property's values for the icons; icons with a null picture or a side outside 1..1024
// are left out.
std::vector<unsigned long> netWmIconValues(const WindowIcon* icons, int count);

// Sets the icons given to setWindowIcons on the window; nothing when there are none.
void applyWindowIcon(Display* display, Window window);
