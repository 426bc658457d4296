#include "platform/display_refresh.h"

#include <X11/extensions/Xrandr.h>

#include "platform/x11/x11_connection.h"

namespace {

// Frames per second of a mode from its timings; interlaced modes show a field per pass and
// double-scanned ones show each line twice.
double modeRate(const XRRModeInfo& mode) {
  double lines = static_cast<double>(mode.vTotal);
  if (mode.modeFlags & RR_DoubleScan) lines *= 2.0;
  if (mode.modeFlags & RR_Interlace) lines /= 2.0;
  double dots = static_cast<double>(mode.hTotal) * lines;
  return dots > 0.0 ? static_cast<double>(mode.dotClock) / dots : 0.0;
}

// The rate of the mode on the CRTC that shows `output`, 0 when unknown.
double outputRate(Display* display, XRRScreenResources* resources, RROutput output) {
  double rate = 0.0;
  XRROutputInfo* info = XRRGetOutputInfo(display, resources, output);
  if (info == nullptr) return 0.0;
  if (info->crtc != 0) {
    XRRCrtcInfo* crtc = XRRGetCrtcInfo(display, resources, info->crtc);
    if (crtc != nullptr) {
      for (int i = 0; i < resources->nmode; ++i)
        if (resources->modes[i].id == crtc->mode) rate = modeRate(resources->modes[i]);
      XRRFreeCrtcInfo(crtc);
    }
  }
  XRRFreeOutputInfo(info);
  return rate;
}

}  // namespace

double displayRefreshRate() {
  Display* display = x11Display();
  if (display == nullptr) return 0.0;
  int event = 0, error = 0;
  if (!XRRQueryExtension(display, &event, &error)) return 0.0;
  Window root = DefaultRootWindow(display);
  XRRScreenResources* resources = XRRGetScreenResourcesCurrent(display, root);
  if (resources == nullptr) return 0.0;
  double rate = 0.0;
  RROutput primary = XRRGetOutputPrimary(display, root);
  if (primary != 0) rate = outputRate(display, resources, primary);
  // Without a primary output, the first output that shows anything.
  for (int i = 0; rate <= 0.0 && i < resources->noutput; ++i)
    rate = outputRate(display, resources, resources->outputs[i]);
  XRRFreeScreenResources(resources);
  return rate;
}
