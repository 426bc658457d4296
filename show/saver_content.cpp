#include "show/saver_content.h"

#include "show/graphics_setup.h"

// The show itself (music, scenes, loading picture, gamma) has no parts yet: the run keeps
// its windows black and only sets up the graphics.

void startContent() { initGraphics(); }

void loadContent() {}

void advanceObjects(float) {}

void directAndDraw(float) {}

void stopContent() {}
