// rotateAboutAxis is computed directly; here it is checked against the definition through the
// GL matrix stack (write v into the bottom row, glRotatef, read the row back).
#include <GL/gl.h>

#include "render/math.h"
#include "tests/support/gl_test.h"

namespace {

Vec3 rotateThroughGl(Vec3 v, Vec3 axis, float degrees) {
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  glLoadIdentity();
  float m[16];
  glGetFloatv(GL_MODELVIEW_MATRIX, m);
  m[3] = v.x;
  m[7] = v.y;
  m[11] = v.z;
  glLoadMatrixf(m);
  glRotatef(degrees, axis.x, axis.y, axis.z);
  glGetFloatv(GL_MODELVIEW_MATRIX, m);
  glPopMatrix();
  return Vec3(m[3], m[7], m[11]);
}

using RotateAboutAxisGl = GlTest;

TEST_F(RotateAboutAxisGl, AgreesWithTheMatrixStack) {
  float before[16];
  glGetFloatv(GL_MODELVIEW_MATRIX, before);
  seedRandom(3);
  for (int i = 0; i < 500; ++i) {
    const Vec3 v(randomUnit() * 200 - 100, randomUnit() * 200 - 100, randomUnit() * 200 - 100);
    const Vec3 axis = randomDirection() * (0.5f + randomUnit() * 3);
    const float degrees = randomUnit() * 720 - 360;
    const Vec3 direct = rotateAboutAxis(v, axis, degrees);
    const Vec3 gl = rotateThroughGl(v, axis, degrees);
    ASSERT_NEAR(direct.x, gl.x, 1e-3f) << i;
    ASSERT_NEAR(direct.y, gl.y, 1e-3f) << i;
    ASSERT_NEAR(direct.z, gl.z, 1e-3f) << i;
  }
  float after[16];
  glGetFloatv(GL_MODELVIEW_MATRIX, after);
  for (int i = 0; i < 16; ++i) EXPECT_EQ(before[i], after[i]);
}

}  // namespace
