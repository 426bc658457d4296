// The resting render state, the state helpers, the 800 x 600 overlay bracket and the camera.
#include <GL/gl.h>
#include <GL/glext.h>
#include <GL/glu.h>

#include <array>
#include <cmath>

#include "render/camera.h"
#include "render/gl_state.h"
#include "render/overlay_bracket.h"
#include "tests/support/gl_test.h"

namespace {

using Matrix = std::array<float, 16>;

Matrix current(GLenum which) {
  Matrix m;
  glGetFloatv(which, m.data());
  return m;
}

// The matrix that `build` leaves on a fresh modelview stack.
template <typename Build>
Matrix built(Build build) {
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  glLoadIdentity();
  build();
  const Matrix m = current(GL_MODELVIEW_MATRIX);
  glPopMatrix();
  return m;
}

void expectMatrix(const Matrix& got, const Matrix& want, float tolerance = 1e-5f) {
  for (int i = 0; i < 16; ++i) EXPECT_NEAR(got[i], want[i], tolerance) << "element " << i;
}

GLint integer(GLenum name) {
  GLint v = 0;
  glGetIntegerv(name, &v);
  return v;
}

using RenderState = GlTest;

TEST_F(RenderState, InitialisationLeavesTheRestingState) {
  initRenderState();
  EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
  EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
  EXPECT_FALSE(glIsEnabled(GL_LIGHT0));
  EXPECT_TRUE(glIsEnabled(GL_LIGHT1));
  EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
  EXPECT_TRUE(glIsEnabled(GL_NORMALIZE));
  EXPECT_FALSE(glIsEnabled(GL_BLEND));
  EXPECT_EQ(integer(GL_BLEND_SRC), GL_SRC_ALPHA);
  EXPECT_EQ(integer(GL_BLEND_DST), GL_ONE);
  EXPECT_EQ(integer(GL_LIGHT_MODEL_COLOR_CONTROL), GL_SEPARATE_SPECULAR_COLOR);
  EXPECT_EQ(integer(GL_LIGHT_MODEL_LOCAL_VIEWER), 0);
  EXPECT_EQ(integer(GL_LIGHT_MODEL_TWO_SIDE), 0);
  EXPECT_EQ(integer(GL_MATRIX_MODE), GL_MODELVIEW);

  // Both lights at the eye: positions are stored in eye coordinates.
  for (GLenum light : {GL_LIGHT0, GL_LIGHT1}) {
    GLfloat position[4], direction[3];
    glGetLightfv(light, GL_POSITION, position);
    glGetLightfv(light, GL_SPOT_DIRECTION, direction);
    EXPECT_EQ(position[0], 0.0f);
    EXPECT_EQ(position[2], 0.0f);
    EXPECT_EQ(position[3], 1.0f);
    EXPECT_EQ(direction[2], -1.0f);
  }
  GLfloat diffuse[4], specular[4], ambient[4];
  glGetLightfv(GL_LIGHT1, GL_DIFFUSE, diffuse);
  glGetLightfv(GL_LIGHT1, GL_SPECULAR, specular);
  glGetLightfv(GL_LIGHT1, GL_AMBIENT, ambient);
  for (int c = 0; c < 4; ++c) {
    EXPECT_EQ(diffuse[c], 1.0f);
    EXPECT_EQ(specular[c], 1.0f);
    EXPECT_EQ(ambient[c], c == 3 ? 1.0f : 0.0f);
  }

  const Matrix projection = current(GL_PROJECTION_MATRIX);
  // glFrustum(-0.666665, 0.666665, -0.5, 0.5, 0.6, 1900).
  EXPECT_NEAR(projection[0], 1.2f / 1.33333f, 1e-4f);
  EXPECT_NEAR(projection[5], 1.2f, 1e-5f);
  EXPECT_NEAR(projection[10], -(1900.0f + 0.6f) / (1900.0f - 0.6f), 1e-6f);
  EXPECT_NEAR(projection[14], -2.0f * 1900.0f * 0.6f / (1900.0f - 0.6f), 1e-4f);
  EXPECT_EQ(projection[11], -1.0f);
  expectMatrix(current(GL_MODELVIEW_MATRIX), built([] {
                 glTranslated(0, 0, -40);
                 glRotated(180, 0, 1, 0);
               }));
}

TEST_F(RenderState, SelectMatrixIgnoresUnknownTargets) {
  selectMatrix(ProjectionMatrix);
  EXPECT_EQ(integer(GL_MATRIX_MODE), GL_PROJECTION);
  selectMatrix(3);
  selectMatrix(-1);
  EXPECT_EQ(integer(GL_MATRIX_MODE), GL_PROJECTION);
  selectMatrix(TextureMatrix);
  EXPECT_EQ(integer(GL_MATRIX_MODE), GL_TEXTURE);
  selectMatrix(ModelViewMatrix);
  EXPECT_EQ(integer(GL_MATRIX_MODE), GL_MODELVIEW);
}

TEST_F(RenderState, SphereMapOffDisablesTheGeneratorsOnly) {
  setSphereMap(true);
  EXPECT_TRUE(glIsEnabled(GL_TEXTURE_GEN_S));
  EXPECT_TRUE(glIsEnabled(GL_TEXTURE_GEN_T));
  setSphereMap(false);
  EXPECT_FALSE(glIsEnabled(GL_TEXTURE_GEN_S));
  EXPECT_FALSE(glIsEnabled(GL_TEXTURE_GEN_T));
  GLint mode = 0;
  glGetTexGeniv(GL_S, GL_TEXTURE_GEN_MODE, &mode);
  EXPECT_EQ(mode, GL_SPHERE_MAP);
  glGetTexGeniv(GL_T, GL_TEXTURE_GEN_MODE, &mode);
  EXPECT_EQ(mode, GL_SPHERE_MAP);
}

// The vector helpers hand each component to the right argument.
TEST_F(RenderState, TransformHelpersTakeVectorsComponentWise) {
  expectMatrix(built([] {
                 translate(Vec3(1, 2, 3));
                 rotate(Vec3(0, 0, 1), 90);
                 scale(Vec3(2, 3, 4));
               }),
               built([] {
                 glTranslatef(1, 2, 3);
                 glRotatef(90, 0, 0, 1);
                 glScalef(2, 3, 4);
               }));
}

TEST_F(RenderState, TheCameraLooksFromItsPositionAlongItsViewDirection) {
  expectMatrix(built([] { lookFromOrigin(Vec3(0, 0, -1), Vec3(0, 1, 0)); }),
               {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1});
  expectMatrix(built([] { lookFromCamera(Vec3(1, 2, 3), Vec3(0, 0, -1), Vec3(0, 1, 0)); }),
               {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, -1, -2, -3, 1});
  // Looking along +x from (5, 0, 0): the point (6, 0, 0) is one unit ahead of the eye.
  const Matrix m = built([] { lookFromCamera(Vec3(5, 0, 0), Vec3(2, 0, 0), Vec3(0, 1, 0)); });
  const float ahead[3] = {m[0] * 6 + m[12], m[1] * 6 + m[13], m[2] * 6 + m[14]};
  EXPECT_NEAR(ahead[0], 0.0f, 1e-5f);
  EXPECT_NEAR(ahead[1], 0.0f, 1e-5f);
  EXPECT_NEAR(ahead[2], -1.0f, 1e-5f);
  // Only the rotation: the same view from the origin has no translation.
  const Matrix r = built([] { lookFromOrigin(Vec3(2, 0, 0), Vec3(0, 1, 0)); });
  for (int i = 0; i < 12; ++i) EXPECT_NEAR(r[i], m[i], 1e-6f);
  EXPECT_EQ(r[12], 0.0f);
}

class OverlayBracket : public GlTest, public testing::WithParamInterface<std::array<int, 2>> {
 protected:
  OverlayBracket() {
    width = GetParam()[0];
    height = GetParam()[1];
  }
};

TEST_P(OverlayBracket, TheTopOfTheVirtualScreenLandsAtTheTopLeft) {
  initRenderState();
  glDisable(GL_TEXTURE_2D);
  const Matrix projection = current(GL_PROJECTION_MATRIX);
  const Matrix modelview = current(GL_MODELVIEW_MATRIX);

  beginOverlay();
  EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
  EXPECT_EQ(integer(GL_MATRIX_MODE), GL_MODELVIEW);
  glColor3f(1, 1, 1);
  glRectf(0, 560, 40, 600);
  endOverlay();

  EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
  EXPECT_EQ(integer(GL_MATRIX_MODE), GL_MODELVIEW);
  expectMatrix(current(GL_PROJECTION_MATRIX), projection, 0);
  expectMatrix(current(GL_MODELVIEW_MATRIX), modelview, 0);

  readPixels();
  EXPECT_EQ(pixel(0, height - 1)[0], 255) << "top left";
  // 40 x 40 virtual pixels are 1/20 of the width and 1/15 of the height.
  EXPECT_EQ(pixel(width / 20 - 1, height - height / 15)[0], 255);
  EXPECT_EQ(pixel(width / 20 + 1, height - 1)[0], 0);
  EXPECT_EQ(pixel(0, height - height / 15 - 2)[0], 0);
  EXPECT_EQ(pixel(0, 0)[0], 0);
}

INSTANTIATE_TEST_SUITE_P(AnyViewport, OverlayBracket,
                         testing::Values(std::array<int, 2>{800, 600}, std::array<int, 2>{160, 120},
                                         std::array<int, 2>{200, 60}, std::array<int, 2>{90, 300}));

}  // namespace
