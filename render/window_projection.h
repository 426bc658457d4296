#pragma once
// The show's perspective for a window of any shape, such as a screensaver daemon gives each
// monitor: the 4:3 frustum (near 0.6, far 1900) widened for a wide window or heightened for a
// tall one, so that the 4:3 picture is always wholly inside and the rest of the window shows
// more of the scene, never a stretched one.

struct FrustumExtent {
  double left, right, bottom, top;
};

// For a window of width x height pixels; a size of 0 or less reads as 4:3.
FrustumExtent frustumForWindow(int width, int height);

// Sets the viewport to the whole window and loads that frustum as the projection; leaves the
// modelview matrix selected.
void applyWindowProjection(int width, int height);
