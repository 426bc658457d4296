#include "platform/gamma_ramp.h"

#include <X11/extensions/Xrandr.h>

#include "platform/x11/x11_connection.h"
#include "platform/x11/x11_monitors.h"

namespace {

// Entry i of a ramp of `size` entries, taken from the 256-entry table.
unsigned short sample(const std::uint16_t table[256], int i, int size) {
  return table[size > 1 ? i * 255 / (size - 1) : 0];
}

}  // namespace

bool setDisplayGammaRamp(const std::uint16_t red[256], const std::uint16_t green[256],
                         const std::uint16_t blue[256]) {
  Display* display = x11Display();
  if (display == nullptr) return false;
  int event = 0, error = 0;
  if (!XRRQueryExtension(display, &event, &error)) return false;
  X11Monitor primary = x11Monitors().front();
  XRRScreenResources* resources = XRRGetScreenResourcesCurrent(display, DefaultRootWindow(display));
  if (resources == nullptr) return false;
  bool applied = false;
  x11ClearErrors();
  // Every CRTC showing part of the primary monitor takes the ramp.
  for (int c = 0; c < resources->ncrtc; ++c) {
    XRRCrtcInfo* crtc = XRRGetCrtcInfo(display, resources, resources->crtcs[c]);
    if (crtc == nullptr) continue;
    bool overlaps = crtc->mode != 0 && crtc->x < primary.left + primary.width &&
                    primary.left < crtc->x + static_cast<int>(crtc->width) &&
                    crtc->y < primary.top + primary.height &&
                    primary.top < crtc->y + static_cast<int>(crtc->height);
    XRRFreeCrtcInfo(crtc);
    int size = overlaps ? XRRGetCrtcGammaSize(display, resources->crtcs[c]) : 0;
    if (size <= 0) continue;
    XRRCrtcGamma* gamma = XRRAllocGamma(size);
    if (gamma == nullptr) continue;
    for (int i = 0; i < size; ++i) {
      gamma->red[i] = sample(red, i, size);
      gamma->green[i] = sample(green, i, size);
      gamma->blue[i] = sample(blue, i, size);
    }
    XRRSetCrtcGamma(display, resources->crtcs[c], gamma);
    XRRFreeGamma(gamma);
    applied = true;
  }
  XRRFreeScreenResources(resources);
  return applied && !x11ErrorsSince();
}
