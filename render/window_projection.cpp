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

void applyWindowProjection(int width, int height) {
  if (width > 0 && height > 0) glViewport(0, 0, width, height);
  const FrustumExtent f = frustumForWindow(width, height);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glFrustum(f.left, f.right, f.bottom, f.top, nearPlane, farPlane);
  glMatrixMode(GL_MODELVIEW);
}
