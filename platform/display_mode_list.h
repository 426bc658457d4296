#pragma once
// Every mode the primary display offers, for the configuration dialog's list.
//
// On X11 these are the XRandR modes of the primary output (the output RandR calls primary,
// else the one showing the primary monitor, else the first connected one), in the order the
// server lists them, which keeps modes of one size together. X cannot change the colour depth
// of a running screen, so every mode carries the screen's present bits per pixel. Without
// XRandR the list holds the present mode alone; without a display it is empty.
#include <vector>

#include "platform/display_mode.h"

std::vector<DisplayMode> listDisplayModes();
