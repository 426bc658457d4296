#include "show/graphics_setup.h"

#include "platform/gl_context.h"
#include "platform/gl_entry_points.h"
#include "settings/settings.h"

void initGraphics() {
  bool swapControl = swapControlAvailable();
  lookUpGlEntryPoints(glProcAddress);
  // Set in both cases, overriding whatever the driver would do by default.
  if (swapControl) setSwapInterval(settings.VSync ? 1 : 0);
}
