#include "render/monitor_layout.h"

#include <algorithm>

MonitorsMode monitorsMode(int stored) {
  if (stored == 1) return MonitorsMode::EveryMonitor;
  if (stored == 2) return MonitorsMode::AcrossMonitors;
  return MonitorsMode::PrimaryOnly;
}

std::vector<FrustumExtent> monitorFrusta(MonitorsMode mode,
                                         const std::vector<DesktopRect>& monitors) {
  std::vector<FrustumExtent> frusta;
  const FrustumExtent fixed = frustumForWindow(0, 0);
  if (mode == MonitorsMode::PrimaryOnly) return std::vector<FrustumExtent>(monitors.size(), fixed);
  if (mode == MonitorsMode::EveryMonitor) {
    for (const DesktopRect& m : monitors) frusta.push_back(frustumForWindow(m.width, m.height));
    return frusta;
  }
  // Wider bounds than any monitor can have; the empty ones are left out of them.
  long left = 0, top = 0, right = 0, bottom = 0;
  bool any = false;
  for (const DesktopRect& m : monitors) {
    if (m.width <= 0 || m.height <= 0) continue;
    const long r = static_cast<long>(m.left) + m.width, b = static_cast<long>(m.top) + m.height;
    left = any ? std::min<long>(left, m.left) : m.left;
    top = any ? std::min<long>(top, m.top) : m.top;
    right = any ? std::max(right, r) : r;
    bottom = any ? std::max(bottom, b) : b;
    any = true;
  }
  const double width = static_cast<double>(right - left),
               height = static_cast<double>(bottom - top);
  const FrustumExtent whole = any ? frustumForWindow(static_cast<int>(std::min(width, 1e9)),
                                                     static_cast<int>(std::min(height, 1e9)))
                                  : fixed;
  const double perX = (whole.right - whole.left) / (any ? width : 1.0);
  const double perY = (whole.top - whole.bottom) / (any ? height : 1.0);
  for (const DesktopRect& m : monitors) {
    if (m.width <= 0 || m.height <= 0) {
      frusta.push_back(fixed);
      continue;
    }
    // Desktop y grows downwards, the frustum's upwards.
    const double x0 = static_cast<double>(m.left - left), y0 = static_cast<double>(m.top - top);
    frusta.push_back({whole.left + x0 * perX, whole.left + (x0 + m.width) * perX,
                      whole.top - (y0 + m.height) * perY, whole.top - y0 * perY});
  }
  return frusta;
}
