#pragma once
// One display device of the desktop, as the saver run places its windows.
#include <cstdint>

#include "platform/window.h"

struct MonitorBounds {
  int left = 0;
  int top = 0;
  int right = 0;   // exclusive
  int bottom = 0;  // exclusive
};

struct MonitorRecord {
  // Null for a device not attached to the desktop: such a record gets no window.
  std::uintptr_t monitor = 0;
  MonitorBounds bounds;
  WindowHandle window = 0;
};

constexpr int maxMonitors = 9;
