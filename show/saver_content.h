#pragma once
// What the saver run shows, plays and loads, handed over at five fixed points of the run.

// After the windows exist and before they are shown.
void startContent();
// After the windows have been shown and focused.
void loadContent();
// First in every frame.
void advanceObjects(float dt);
// Last in every frame, after the mouse-exit test; presents the frame.
void directAndDraw(float dt);
// First when the run shuts down.
void stopContent();
