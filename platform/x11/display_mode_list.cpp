#include "platform/display_mode_list.h"

#include <X11/extensions/Xrandr.h>

#include "platform/x11/x11_connection.h"
#include "platform/x11/x11_monitors.h"

namespace {

// The output whose modes the list shows; 0 when there is none.
RROutput primaryOutput(Display* display, XRRScreenResources* resources) {
  RROutput primary = XRRGetOutputPrimary(display, DefaultRootWindow(display));
  if (primary == 0) primary = x11Monitors().front().output;
  for (int i = 0; i < resources->noutput && primary == 0; ++i) {
    XRROutputInfo* output = XRRGetOutputInfo(display, resources, resources->outputs[i]);
    if (output != nullptr && output->connection == RR_Connected && output->nmode > 0)
      primary = resources->outputs[i];
    if (output != nullptr) XRRFreeOutputInfo(output);
  }
  return primary;
}

bool haveRandr12(Display* display) {
  int event = 0, error = 0, major = 0, minor = 0;
  return XRRQueryExtension(display, &event, &error) && XRRQueryVersion(display, &major, &minor) &&
         (major > 1 || (major == 1 && minor >= 2));
}

}  // namespace

std::vector<DisplayMode> listDisplayModes() {
  std::vector<DisplayMode> modes;
  DisplayMode present;
  if (!currentDisplayMode(present)) return modes;
  Display* display = x11Display();
  XRRScreenResources* resources =
      haveRandr12(display) ? XRRGetScreenResourcesCurrent(display, DefaultRootWindow(display))
                           : nullptr;
  if (resources != nullptr) {
    RROutput id = primaryOutput(display, resources);
    XRROutputInfo* output = id != 0 ? XRRGetOutputInfo(display, resources, id) : nullptr;
    for (int i = 0; output != nullptr && i < output->nmode; ++i) {
      for (int j = 0; j < resources->nmode; ++j) {
        const XRRModeInfo& info = resources->modes[j];
        if (info.id != output->modes[i]) continue;
        modes.push_back(
            {static_cast<int>(info.width), static_cast<int>(info.height), present.bitsPerPixel});
        break;
      }
    }
    if (output != nullptr) XRRFreeOutputInfo(output);
    XRRFreeScreenResources(resources);
  }
  if (modes.empty()) modes.push_back(present);
  return modes;
}
