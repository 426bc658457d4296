#include "platform/display_devices.h"

#include <algorithm>
#include <vector>

#include "platform/x11/x11_monitors.h"

namespace {

// Taken when device 0 is read, so that one enumeration sees one consistent desktop.
std::vector<DisplayDevice> devices;

void takeInventory() {
  devices.clear();
  bool first = true;
  for (const X11Monitor& m : x11Monitors()) {
    DisplayDevice d;
    d.attachedToDesktop = true;
    d.primary = first;
    d.left = m.left;
    d.top = m.top;
    d.width = m.width;
    d.height = m.height;
    devices.push_back(d);
    first = false;
  }
  for (int i = x11DetachedOutputs(); i > 0; --i) devices.push_back(DisplayDevice{});
}

}  // namespace

bool displayDevice(int index, DisplayDevice& device) {
  if (index == 0) takeInventory();
  if (index < 0 || static_cast<std::size_t>(index) >= devices.size()) return false;
  device = devices[static_cast<std::size_t>(index)];
  return true;
}

std::uintptr_t monitorFromRect(int left, int top, int right, int bottom) {
  // The monitor sharing the largest area with the rectangle, numbered from 1.
  std::vector<X11Monitor> monitors = x11Monitors();
  std::uintptr_t best = 0;
  long bestArea = 0;
  for (std::size_t i = 0; i < monitors.size(); ++i) {
    const X11Monitor& m = monitors[i];
    long w = std::min(right, m.left + m.width) - std::max(left, m.left);
    long h = std::min(bottom, m.top + m.height) - std::max(top, m.top);
    if (w > 0 && h > 0 && w * h > bestArea) {
      bestArea = w * h;
      best = i + 1;
    }
  }
  return best;
}
