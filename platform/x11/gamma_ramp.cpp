#include "platform/gamma_ramp.h"

#include <X11/extensions/Xrandr.h>

#include <algorithm>
#include <cmath>

#include "platform/x11/desktop_guard.h"
#include "platform/x11/x11_connection.h"
#include "platform/x11/x11_monitors.h"

namespace {

// Entry i of a ramp of `size` entries, read off the 256-entry table as a curve: linear
// between its entries, so that a longer ramp (1024 or 4096 entries on most hardware) has no
// steps and a shorter one keeps the curve's shape.
unsigned short sample(const std::uint16_t table[256], int i, int size) {
  if (size <= 1) return table[0];
  double position = static_cast<double>(i) * 255.0 / (size - 1);
  int k = std::min(static_cast<int>(position), 254);
  double fraction = position - k;
  return static_cast<unsigned short>(std::lround(table[k] + (table[k + 1] - table[k]) * fraction));
}

bool alreadyKept(RRCrtc crtc) {
  for (const SavedCrtcGamma& kept : desktopRecord().gamma)
    if (kept.crtc == crtc) return true;
  return false;
}

// Keeps the CRTC's ramp before this process first changes it.
void keepRamp(Display* display, RRCrtc crtc) {
  if (alreadyKept(crtc)) return;
  XRRCrtcGamma* old = XRRGetCrtcGamma(display, crtc);
  if (old == nullptr) return;
  if (old->size > 0 && static_cast<std::size_t>(old->size) <= maxRecordedGammaSize) {
    SavedCrtcGamma kept;
    kept.crtc = crtc;
    kept.red.assign(old->red, old->red + old->size);
    kept.green.assign(old->green, old->green + old->size);
    kept.blue.assign(old->blue, old->blue + old->size);
    desktopRecord().gamma.push_back(std::move(kept));
  }
  XRRFreeGamma(old);
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
  // Every CRTC showing part of the primary monitor takes the ramp.
  std::vector<RRCrtc> targets;
  for (int c = 0; c < resources->ncrtc; ++c) {
    XRRCrtcInfo* crtc = XRRGetCrtcInfo(display, resources, resources->crtcs[c]);
    if (crtc == nullptr) continue;
    bool overlaps = crtc->mode != 0 && crtc->x < primary.left + primary.width &&
                    primary.left < crtc->x + static_cast<int>(crtc->width) &&
                    crtc->y < primary.top + primary.height &&
                    primary.top < crtc->y + static_cast<int>(crtc->height);
    XRRFreeCrtcInfo(crtc);
    if (overlaps && XRRGetCrtcGammaSize(display, resources->crtcs[c]) > 0)
      targets.push_back(resources->crtcs[c]);
  }
  // The old ramps go on record before any of them changes.
  std::size_t keptBefore = desktopRecord().gamma.size();
  for (RRCrtc crtc : targets) keepRamp(display, crtc);
  if (desktopRecord().gamma.size() != keptBefore) desktopRecordChanged();

  bool applied = false;
  x11ClearErrors();
  for (RRCrtc crtc : targets) {
    int size = XRRGetCrtcGammaSize(display, crtc);
    XRRCrtcGamma* gamma = XRRAllocGamma(size);
    if (gamma == nullptr) continue;
    for (int i = 0; i < size; ++i) {
      gamma->red[i] = sample(red, i, size);
      gamma->green[i] = sample(green, i, size);
      gamma->blue[i] = sample(blue, i, size);
    }
    XRRSetCrtcGamma(display, crtc, gamma);
    XRRFreeGamma(gamma);
    applied = true;
  }
  XRRFreeScreenResources(resources);
  return applied && !x11ErrorsSince();
}

bool restoreDisplayGammaRamp() {
  Display* display = x11Display();
  std::vector<SavedCrtcGamma>& kept = desktopRecord().gamma;
  if (display == nullptr || kept.empty()) return false;
  for (const SavedCrtcGamma& ramp : kept) restoreCrtcGamma(display, ramp);
  XSync(display, False);
  kept.clear();
  desktopRecordChanged();
  return true;
}
