// The off-screen context renders the fixed-function pipeline the saver relies on: lighting,
// textures, display lists, a perspective frustum and a look-at camera, with no display.
#include <GL/gl.h>
#include <GL/glu.h>

#include <cstdlib>

#include "platform/gl_entry_points.h"
#include "tests/support/gl_test.h"

namespace {

class OffscreenContextTest : public GlTest {
 protected:
  OffscreenContextTest() {
    width = 96;
    height = 64;
  }
};

TEST_F(OffscreenContextTest, WorksWithoutADisplay) {
  const char* display = std::getenv("DISPLAY");
  SCOPED_TRACE(display ? display : "(no DISPLAY)");
  EXPECT_EQ(offscreenWidth(context), 96);
  EXPECT_EQ(offscreenHeight(context), 64);
  GLint viewport[4];
  glGetIntegerv(GL_VIEWPORT, viewport);
  EXPECT_EQ(viewport[2], 96);
  EXPECT_EQ(viewport[3], 64);
  GLint depthBits = 0, stencilBits = 0;
  glGetIntegerv(GL_DEPTH_BITS, &depthBits);
  glGetIntegerv(GL_STENCIL_BITS, &stencilBits);
  EXPECT_GE(depthBits, 24);
  EXPECT_GE(stencilBits, 8);
}

TEST_F(OffscreenContextTest, DrawsALitTexturedDisplayListedTriangle) {
  // A 2x1 texture: red on the left half, blue on the right half.
  const unsigned char texels[] = {255, 0, 0, 255, 0, 0, 255, 255};
  GLuint texture = 0;
  glGenTextures(1, &texture);
  glBindTexture(GL_TEXTURE_2D, texture);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 2, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels);
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
  glEnable(GL_TEXTURE_2D);

  glEnable(GL_LIGHTING);
  glEnable(GL_LIGHT0);
  const float lightPos[] = {0, 0, 1, 0};  // directional, from the viewer
  glLightfv(GL_LIGHT0, GL_POSITION, lightPos);
  glEnable(GL_DEPTH_TEST);

  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glFrustum(-0.666665, 0.666665, -0.5, 0.5, 0.6, 1900);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  gluLookAt(0, 0, 5, 0, 0, 0, 0, 1, 0);

  const GLuint list = glGenLists(1);
  glNewList(list, GL_COMPILE);
  glBegin(GL_TRIANGLES);
  glNormal3f(0, 0, 1);
  glTexCoord2f(0.25f, 0);
  glVertex3f(-2, -1.5f, 0);
  glTexCoord2f(0.75f, 0);
  glVertex3f(2, -1.5f, 0);
  glTexCoord2f(0.25f, 1);
  glVertex3f(-2, 1.5f, 0);
  glEnd();
  glEndList();
  glCallList(list);

  readPixels();
  // Near the lower left corner of the triangle: textured red and lit (ambient + diffuse > 0.5).
  const auto inside = pixel(36, 24);
  EXPECT_GT(inside[0], 150);
  EXPECT_LT(inside[2], 40);
  // Outside the triangle (upper right corner): still the clear colour.
  const auto outside = pixel(90, 60);
  EXPECT_EQ(outside[0], 0);
  EXPECT_EQ(outside[1], 0);
  EXPECT_EQ(outside[2], 0);

  // Facing away from the light the same triangle is dark: lighting is really applied.
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  const float sideLight[] = {0, 0, -1, 0};
  glLightfv(GL_LIGHT0, GL_POSITION, sideLight);
  glCallList(list);
  readPixels();
  EXPECT_LT(pixel(36, 24)[0], inside[0] / 2);
}

TEST_F(OffscreenContextTest, FindsBufferObjectEntryPoints) {
  lookUpGlEntryPoints(offscreenProcAddress);
  EXPECT_TRUE(vertexBuffersAvailable);
  clearGlEntryPoints();
  EXPECT_FALSE(vertexBuffersAvailable);
  EXPECT_EQ(glEntryPoints.genBuffers, nullptr);
}

}  // namespace
