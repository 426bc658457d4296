#pragma once
// How the show spreads over the desktop's monitors, as the Monitors setting asks:
// - PrimaryOnly (0, and any value that is not 1 or 2): the primary monitor shows the show
//   with the fixed 4:3 frustum, the others stay black;
// - EveryMonitor (1): every monitor shows the same camera through the frustum of its own shape
//   (render/window_projection.h: widened or heightened, never stretched);
// - AcrossMonitors (2): one wide view, the frustum of the rectangle that bounds all monitors,
//   cut along each monitor's rectangle in the desktop (off-axis), so that a line leaving one
//   monitor enters the next where it should. Gaps between monitors are seen as bezels are:
//   the part of the view behind them is not shown. The camera looks at the centre of the
//   bounding rectangle.
// Layouts are plain desktop rectangles, so every window system uses the same cut.
#include <vector>

#include "render/window_projection.h"

enum class MonitorsMode { PrimaryOnly = 0, EveryMonitor = 1, AcrossMonitors = 2 };

MonitorsMode monitorsMode(int stored);

// A monitor's rectangle in desktop pixels, y growing downwards as on every desktop.
struct DesktopRect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};

// The frustum (at the near plane) of each monitor, in the order given. PrimaryOnly gives the
// fixed 4:3 frustum for every monitor. A monitor of no area takes the 4:3 frustum.
std::vector<FrustumExtent> monitorFrusta(MonitorsMode mode,
                                         const std::vector<DesktopRect>& monitors);
