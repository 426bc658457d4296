#pragma once
// Whether the display has been powered down by the desktop's own power management (DPMS
// standby, suspend or off on X11; the console display state on Windows). Only asked: the show
// never sets the display's power state nor keeps the desktop from changing it.

// True while the display is off; false when it is on, dimmed, or the system cannot tell (a
// server without the extension).
bool displayPoweredDown();
