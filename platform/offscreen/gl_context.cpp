// The GL-context services of a run that draws off-screen. There is no window and no swap: the
// frame goes to whoever reads the framebuffer, so only the look-up of entry points is real.
#include "platform/gl_context.h"

#include "platform/offscreen_context.h"

void* glProcAddress(const char* name) { return offscreenProcAddress(name); }

// Nothing waits for a display's retrace off-screen.
bool swapControlAvailable() { return false; }

void setSwapInterval(int) {}

// Off-screen frames are multisampled only when the recorder asks for it.
bool acceleratedRenderer() { return false; }
