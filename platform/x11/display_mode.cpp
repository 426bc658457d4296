#include "platform/display_mode.h"

#include <X11/extensions/Xrandr.h>

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <vector>

#include "platform/x11/desktop_guard.h"
#include "platform/x11/x11_connection.h"
#include "platform/x11/x11_monitors.h"

namespace {

int bitsPerPixelOfDepth(Display* display, int depth) {
  int count = 0;
  XPixmapFormatValues* formats = XListPixmapFormats(display, &count);
  int bits = depth;
  for (int i = 0; i < count; ++i)
    if (formats[i].depth == depth) bits = formats[i].bits_per_pixel;
  if (formats != nullptr) XFree(formats);
  return bits;
}

void setScreenSize(Display* display, int width, int height, int mmWidth, int mmHeight) {
  XRRSetScreenSize(display, DefaultRootWindow(display), width, height, mmWidth, mmHeight);
}

// Millimetres for a new pixel size at the screen's present pixel density.
int scaledMm(int pixels, int oldPixels, int oldMm) {
  if (oldPixels <= 0 || oldMm <= 0) return pixels * 254 / 960;  // 96 dots per inch
  return static_cast<int>(static_cast<long>(pixels) * oldMm / oldPixels);
}

// The screen's size now; Xlib's own copy is that of when the connection was opened.
void screenSize(Display* display, int& width, int& height) {
  Window root = 0;
  int x = 0, y = 0;
  unsigned w = 0, h = 0, border = 0, depth = 0;
  XGetGeometry(display, DefaultRootWindow(display), &root, &x, &y, &w, &h, &border, &depth);
  width = static_cast<int>(w);
  height = static_cast<int>(h);
}

}  // namespace

bool currentDisplayMode(DisplayMode& mode) {
  Display* display = x11Display();
  if (display == nullptr) return false;
  std::vector<X11Monitor> monitors = x11Monitors();
  mode.width = monitors.front().width;
  mode.height = monitors.front().height;
  mode.bitsPerPixel = bitsPerPixelOfDepth(display, DefaultDepth(display, DefaultScreen(display)));
  return true;
}

bool changeDisplayMode(const DisplayMode& wanted) {
  Display* display = x11Display();
  if (display == nullptr || desktopRecord().mode) return false;
  X11Monitor primary = x11Monitors().front();
  // X cannot change the colour depth of a running screen; only the size is switched.
  if (primary.width == wanted.width && primary.height == wanted.height) return true;
  if (primary.output == 0) return false;

  Window root = DefaultRootWindow(display);
  XRRScreenResources* resources = XRRGetScreenResourcesCurrent(display, root);
  if (resources == nullptr) return false;
  XRROutputInfo* output = XRRGetOutputInfo(display, resources, primary.output);
  XRRCrtcInfo* crtc = output != nullptr && output->crtc != 0
                          ? XRRGetCrtcInfo(display, resources, output->crtc)
                          : nullptr;
  bool ok = false;
  RRMode mode = 0;
  if (crtc != nullptr) {
    for (int i = 0; i < output->nmode && mode == 0; ++i)
      for (int j = 0; j < resources->nmode; ++j)
        if (resources->modes[j].id == output->modes[i] &&
            static_cast<int>(resources->modes[j].width) == wanted.width &&
            static_cast<int>(resources->modes[j].height) == wanted.height)
          mode = output->modes[i];
  }
  if (mode != 0) {
    Screen* screen = DefaultScreenOfDisplay(display);
    SavedCrtcMode saved;
    saved.crtc = output->crtc;
    saved.mode = crtc->mode;
    saved.x = crtc->x;
    saved.y = crtc->y;
    saved.rotation = crtc->rotation;
    saved.outputs.assign(crtc->outputs, crtc->outputs + crtc->noutput);
    screenSize(display, saved.screenWidth, saved.screenHeight);
    saved.screenMmWidth = WidthMMOfScreen(screen);
    saved.screenMmHeight = HeightMMOfScreen(screen);

    // The screen grows or shrinks to the box around every CRTC after the switch.
    int right = crtc->x + wanted.width, bottom = crtc->y + wanted.height;
    for (int i = 0; i < resources->ncrtc; ++i) {
      if (resources->crtcs[i] == saved.crtc) continue;
      XRRCrtcInfo* other = XRRGetCrtcInfo(display, resources, resources->crtcs[i]);
      if (other == nullptr) continue;
      if (other->mode != 0) {
        right = std::max(right, other->x + static_cast<int>(other->width));
        bottom = std::max(bottom, other->y + static_cast<int>(other->height));
      }
      XRRFreeCrtcInfo(other);
    }
    int minW = 0, minH = 0, maxW = 0, maxH = 0;
    XRRGetScreenSizeRange(display, root, &minW, &minH, &maxW, &maxH);
    int newWidth = std::clamp(right, minW, std::max(minW, maxW));
    int newHeight = std::clamp(bottom, minH, std::max(minH, maxH));
    int mmW = scaledMm(newWidth, saved.screenWidth, saved.screenMmWidth);
    int mmH = scaledMm(newHeight, saved.screenHeight, saved.screenMmHeight);

    // On record before the switch: a crash right after it can still be undone.
    desktopRecord().mode = saved;
    desktopRecordChanged();
    x11ClearErrors();
    XGrabServer(display);
    if (newWidth > saved.screenWidth || newHeight > saved.screenHeight)
      setScreenSize(display, std::max(newWidth, saved.screenWidth),
                    std::max(newHeight, saved.screenHeight), mmW, mmH);
    Status status = XRRSetCrtcConfig(display, resources, saved.crtc, CurrentTime, saved.x, saved.y,
                                     mode, saved.rotation, crtc->outputs, crtc->noutput);
    if (status == RRSetConfigSuccess) setScreenSize(display, newWidth, newHeight, mmW, mmH);
    XUngrabServer(display);
    ok = status == RRSetConfigSuccess && !x11ErrorsSince();
    if (!ok) restoreDisplayMode();
  }
  if (crtc != nullptr) XRRFreeCrtcInfo(crtc);
  if (output != nullptr) XRRFreeOutputInfo(output);
  XRRFreeScreenResources(resources);
  return ok;
}

void restoreDisplayMode() {
  Display* display = x11Display();
  std::optional<SavedCrtcMode>& saved = desktopRecord().mode;
  if (display == nullptr || !saved) return;
  restoreCrtcMode(display, *saved);
  saved.reset();
  desktopRecordChanged();
}
