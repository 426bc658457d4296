#include "platform/x11/x11_monitors.h"

#include <X11/extensions/Xrandr.h>

#include "platform/x11/x11_connection.h"

namespace {

bool randrVersion(Display* display, int wantMajor, int wantMinor) {
  int event = 0, error = 0, major = 0, minor = 0;
  if (!XRRQueryExtension(display, &event, &error)) return false;
  if (!XRRQueryVersion(display, &major, &minor)) return false;
  return major > wantMajor || (major == wantMajor && minor >= wantMinor);
}

// The output whose CRTC shows exactly this rectangle, so that a mode switch of that CRTC
// changes exactly this monitor.
unsigned long soleOutput(Display* display, const XRRMonitorInfo& info) {
  if (info.noutput != 1) return 0;
  XRRScreenResources* resources = XRRGetScreenResourcesCurrent(display, DefaultRootWindow(display));
  if (resources == nullptr) return 0;
  unsigned long result = 0;
  XRROutputInfo* output = XRRGetOutputInfo(display, resources, info.outputs[0]);
  if (output != nullptr && output->crtc != 0) {
    XRRCrtcInfo* crtc = XRRGetCrtcInfo(display, resources, output->crtc);
    if (crtc != nullptr && crtc->x == info.x && crtc->y == info.y &&
        static_cast<int>(crtc->width) == info.width &&
        static_cast<int>(crtc->height) == info.height)
      result = info.outputs[0];
    if (crtc != nullptr) XRRFreeCrtcInfo(crtc);
  }
  if (output != nullptr) XRRFreeOutputInfo(output);
  XRRFreeScreenResources(resources);
  return result;
}

}  // namespace

std::vector<X11Monitor> x11Monitors() {
  std::vector<X11Monitor> monitors;
  Display* display = x11Display();
  if (display == nullptr) return monitors;
  if (randrVersion(display, 1, 5)) {
    int count = 0;
    XRRMonitorInfo* infos = XRRGetMonitors(display, DefaultRootWindow(display), True, &count);
    for (int i = 0; i < count; ++i) {
      X11Monitor m{infos[i].x, infos[i].y, infos[i].width, infos[i].height,
                   soleOutput(display, infos[i])};
      if (m.width <= 0 || m.height <= 0) continue;
      if (infos[i].primary)
        monitors.insert(monitors.begin(), m);
      else
        monitors.push_back(m);
    }
    if (infos != nullptr) XRRFreeMonitors(infos);
  }
  if (monitors.empty()) {
    // Without monitor information the whole screen is one monitor.
    Screen* screen = DefaultScreenOfDisplay(display);
    monitors.push_back({0, 0, WidthOfScreen(screen), HeightOfScreen(screen), 0});
  }
  return monitors;
}

int x11DetachedOutputs() {
  Display* display = x11Display();
  if (display == nullptr || !randrVersion(display, 1, 2)) return 0;
  XRRScreenResources* resources = XRRGetScreenResourcesCurrent(display, DefaultRootWindow(display));
  if (resources == nullptr) return 0;
  int count = 0;
  for (int i = 0; i < resources->noutput; ++i) {
    XRROutputInfo* output = XRRGetOutputInfo(display, resources, resources->outputs[i]);
    if (output == nullptr) continue;
    if (output->connection == RR_Connected && output->crtc == 0) ++count;
    XRRFreeOutputInfo(output);
  }
  XRRFreeScreenResources(resources);
  return count;
}
