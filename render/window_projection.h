#pragma once
// The show's perspective for a window of any shape, such as a screensaver daemon gives each
// monitor: the 4:3 frustum (near 0.6, far 1900) widened for a wide window or heightened for a
// tall one, so that the 4:3 picture is always wholly inside and the rest of the window shows
// more of the scene, never a stretched one.
#include "render/overlay_bracket.h"

struct FrustumExtent {
  double left, right, bottom, top;
};

// For a window of width x height pixels; a size of 0 or less reads as 4:3.
FrustumExtent frustumForWindow(int width, int height);

// The overlay for such a window: square units, 600 high or 800 wide, the other side longer.
OverlaySize overlayForWindow(int width, int height);

// Sets the viewport to the whole window, loads that frustum as the projection and sizes the
// overlay to match; leaves the modelview matrix selected.
void applyWindowProjection(int width, int height);

// The same with a frustum of the caller's (one monitor's cut of a wider view); the overlay is
// sized for the window's own shape.
void applyViewProjection(int width, int height, const FrustumExtent& frustum);
