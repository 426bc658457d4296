#pragma once
// The monitor table of the run and the display mode it switches to.

class SaverApp;

// Fills app.monitors from the display devices: a mirroring device takes no record, a device
// not attached to the desktop takes one without a monitor, and at most maxMonitors are kept.
void enumerateMonitors(SaverApp& app);

// Switches the primary display to Width x Height x Depth for the run and hides the cursor.
// When the display refuses that mode, Width, Height and Depth become the desktop's mode for
// the run (never saved), so that the primary window still covers its monitor.
void applyDisplayMode();
