#pragma once
// The 2-D overlay projection: between beginOverlay and endOverlay coordinates are virtual
// pixels of an 800 x 600 screen with the origin at the bottom left, whatever the resolution.
//
// A show drawn into a window of its own shape (render/window_projection.h) keeps the units
// square instead: the overlay is 600 high and wider in a wide window, 800 wide and taller in a
// tall one, and what sits in a corner is placed from that corner.

struct OverlaySize {
  float width = 800.0f;
  float height = 600.0f;
};

// The size beginOverlay projects; 800 x 600 until set.
void setOverlaySize(OverlaySize size);
OverlaySize overlaySize();

// Turns off depth testing and replaces the projection and modelview matrices (both pushed).
void beginOverlay();

// Restores both matrices, leaves the modelview matrix current and turns depth testing on.
void endOverlay();
