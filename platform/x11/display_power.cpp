#include "platform/display_power.h"

#include <X11/Xlib.h>
#include <X11/extensions/dpms.h>

#include "platform/x11/x11_connection.h"

bool displayPoweredDown() {
  Display* display = x11Display();
  if (display == nullptr) return false;
  // Asked once per connection: a server without the extension never gains it.
  static Display* asked = nullptr;
  static bool present = false;
  if (asked != display) {
    int event = 0, error = 0;
    present = DPMSQueryExtension(display, &event, &error) && DPMSCapable(display);
    asked = display;
  }
  if (!present) return false;
  CARD16 level = DPMSModeOn;
  BOOL enabled = False;
  if (!DPMSInfo(display, &level, &enabled) || !enabled) return false;
  return level != DPMSModeOn;
}
