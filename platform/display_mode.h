#pragma once
// The primary display's mode, and a temporary switch of it for the life of a run.

struct DisplayMode {
  int width = 0;
  int height = 0;
  int bitsPerPixel = 0;
};

// The mode the primary display shows now; false when it cannot be read.
bool currentDisplayMode(DisplayMode& mode);

// Switches the primary display to the mode for this process only. Returns false, leaving
// the mode as it was, when the display does not offer it. A switch still in force when the
// process ends is undone then.
bool changeDisplayMode(const DisplayMode& mode);

// Returns the display to the mode it had before changeDisplayMode; nothing when unchanged.
void restoreDisplayMode();
