#pragma once
#include "platform/window.h"

// What the saver run shows, plays and loads, handed over at five fixed points of the run.

// After the windows exist and before they are shown; `window` is the one the music's output
// belongs to. False when EnableMusic is set and the audio module cannot be loaded: nothing
// else has then been started, and the run should end without drawing.
bool startContent(WindowHandle window = 0);
// After the windows have been shown and focused.
void loadContent();
// First in every frame.
void advanceObjects(float dt);
// Last in every frame, after the mouse-exit test; presents the frame.
void directAndDraw(float dt);
// When nobody can see the picture any more (the display powered down, the window hidden),
// and again when they can: the music pauses and resumes with the picture.
void restContent(bool resting);
// First when the run shuts down; puts back the gamma ramp only if this run changed it.
void stopContent();
