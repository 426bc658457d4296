#include "platform/cursor.h"

#include <windows.h>

// Windows keeps the count itself: the cursor shows while it is at least 0.
void showCursor(bool show) { ShowCursor(show ? TRUE : FALSE); }

void setCursorPosition(int x, int y) { SetCursorPos(x, y); }
