#pragma once
// The monitors of the X screen as XRandR reports them, the primary one first.
#include <vector>

struct X11Monitor {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  unsigned long output = 0;  // the one output showing exactly this area, 0 when not one
};

std::vector<X11Monitor> x11Monitors();

// Connected outputs that show nothing (no CRTC): devices not attached to the desktop.
int x11DetachedOutputs();
