#pragma once
// The 2-D overlay projection: between beginOverlay and endOverlay coordinates are virtual
// pixels of an 800 x 600 screen with the origin at the bottom left, whatever the resolution.

// Turns off depth testing and replaces the projection and modelview matrices (both pushed).
void beginOverlay();

// Restores both matrices, leaves the modelview matrix current and turns depth testing on.
void endOverlay();
