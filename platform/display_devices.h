#pragma once
// The display devices of the desktop, primary first.
#include <cstdint>

struct DisplayDevice {
  bool attachedToDesktop = false;
  bool primary = false;
  bool mirroring = false;  // only repeats another device's picture
  // Desktop rectangle of an attached device: position and size in pixels.
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};

// Reads device `index` (0, 1, 2, ...); false past the last device.
bool displayDevice(int index, DisplayDevice& device);

// Handle of the monitor that covers the rectangle (right and bottom exclusive), 0 when none.
std::uintptr_t monitorFromRect(int left, int top, int right, int bottom);
