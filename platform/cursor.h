#pragma once
// The mouse cursor over the saver's windows.

// Counts hides and shows: the cursor is visible while the shows are at least the hides.
void showCursor(bool show);

// Moves the pointer to a desktop position.
void setCursorPosition(int x, int y);
