#include "render/camera.h"

#include <GL/glu.h>

void lookFromCamera(const Vec3& position, const Vec3& viewDir, const Vec3& up) {
  // The centre is summed in single precision, like every other vector of the world.
  const float cx = position.x + viewDir.x, cy = position.y + viewDir.y, cz = position.z + viewDir.z;
  gluLookAt(position.x, position.y, position.z, cx, cy, cz, up.x, up.y, up.z);
}

void lookFromOrigin(const Vec3& viewDir, const Vec3& up) {
  gluLookAt(0.0, 0.0, 0.0, viewDir.x, viewDir.y, viewDir.z, up.x, up.y, up.z);
}
