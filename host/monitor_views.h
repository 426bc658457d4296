#pragma once
// The monitors' windows as views of the show (the Monitors setting, render/monitor_layout.h).
// With Monitors 1 or 2 every monitor's window takes the primary window's pixel format and the
// primary's one rendering context draws the frame into each window in turn, so textures and
// display lists are made once; the windows are presented within the same frame, each as soon
// as it is drawn, the primary (with the overlay) last. With 0 (today's
// picture) the primary window alone is drawn and the others stay black.
//
// The loading picture goes to the primary window only, and the other windows stay black until
// the show's first frame.
// Nothing here names a window system: any backend with windows, device contexts and one
// context for several windows serves.
#include "platform/window.h"

class SaverApp;

// After the windows and the rendering context exist: installs the views the Monitors setting
// asks for. A window that cannot take the format shows black, as with Monitors 0.
void setUpMonitorViews(SaverApp& app);

// Presents the frame: swaps the primary window, which is current (the others were swapped as
// they were drawn).
void presentMonitorViews();

// A monitor gone mid-run: its view is dropped; the run goes on with the others.
void dropMonitorView(WindowHandle window);

// Back to one view of the primary window.
void clearMonitorViews();
