#include "render/window_projection.h"

#include <GL/gl.h>

namespace {

// The half-extents of the 4:3 frustum at the near plane.
constexpr double halfWidth = 0.666665, halfHeight = 0.5, nearPlane = 0.6, farPlane = 1900.0;

}  // namespace

FrustumExtent frustumForWindow(int width, int height) {
  if (width <= 0 || height <= 0) return {-halfWidth, halfWidth, -halfHeight, halfHeight};
  const double aspect = static_cast<double>(width) / height;
  if (aspect >= halfWidth / halfHeight) {
    const double x = halfHeight * aspect;
    return {-x, x, -halfHeight, halfHeight};
  }
  const double y = halfWidth / aspect;
  return {-halfWidth, halfWidth, -y, y};
}

OverlaySize overlayForWindow(int width, int height) {
  const FrustumExtent f = frustumForWindow(width, height);
  // The frustum's 4:3 part maps onto 800 x 600; the rest of the window gets the same units.
  return {static_cast<float>(800.0 * f.right / halfWidth),
          static_cast<float>(600.0 * f.top / halfHeight)};
}

void applyWindowProjection(int width, int height) {
  applyViewProjection(width, height, frustumForWindow(width, height));
}

void applyViewProjection(int width, int height, const FrustumExtent& f) {
  setOverlaySize(overlayForWindow(width, height));
  if (width > 0 && height > 0) glViewport(0, 0, width, height);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glFrustum(f.left, f.right, f.bottom, f.top, nearPlane, farPlane);
  glMatrixMode(GL_MODELVIEW);
}
