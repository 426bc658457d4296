#include "render/gl_state.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include <initializer_list>

namespace {

void enable(GLenum capability, bool on) {
  if (on) {
    glEnable(capability);
  } else {
    glDisable(capability);
  }
}

}  // namespace

void initRenderState() {
  glEnable(GL_DEPTH_TEST);
  glEnable(GL_LIGHTING);
  glDisable(GL_LIGHT0);
  glEnable(GL_LIGHT1);
  glEnable(GL_TEXTURE_2D);

  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glEnable(GL_NORMALIZE);

  // With the modelview matrix still the identity both lights sit at the eye.
  const GLfloat atEye[4] = {0.0f, 0.0f, 0.0f, 1.0f};
  const GLfloat forward[3] = {0.0f, 0.0f, -1.0f};
  for (GLenum light : {GL_LIGHT0, GL_LIGHT1}) {
    glLightfv(light, GL_POSITION, atEye);
    glLightfv(light, GL_SPOT_DIRECTION, forward);
  }

  glDisable(GL_LIGHTING);

  glLightModeli(GL_LIGHT_MODEL_COLOR_CONTROL, GL_SEPARATE_SPECULAR_COLOR);
  glLightModeli(GL_LIGHT_MODEL_LOCAL_VIEWER, 0);
  glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, 0);

  glMatrixMode(GL_PROJECTION);
  glFrustum(-0.666665, 0.666665, -0.5, 0.5, 0.6, 1900.0);

  // The view for what is drawn before the first frame loads its own.
  glMatrixMode(GL_MODELVIEW);
  glTranslated(0.0, 0.0, -40.0);
  glRotated(180.0, 0.0, 1.0, 0.0);

  const GLfloat white[4] = {1.0f, 1.0f, 1.0f, 1.0f};
  const GLfloat black[4] = {0.0f, 0.0f, 0.0f, 1.0f};
  glLightfv(GL_LIGHT1, GL_DIFFUSE, white);
  glLightfv(GL_LIGHT1, GL_SPECULAR, white);
  glLightfv(GL_LIGHT1, GL_AMBIENT, black);

  glBlendFunc(GL_SRC_ALPHA, GL_ONE);
  glEnable(GL_DEPTH_TEST);
}

void setLighting(bool on) { enable(GL_LIGHTING, on); }
void setCulling(bool on) { enable(GL_CULL_FACE, on); }
void setBlending(bool on) { enable(GL_BLEND, on); }
void setDepthTest(bool on) { enable(GL_DEPTH_TEST, on); }
void setDepthWrite(bool on) { glDepthMask(on ? GL_TRUE : GL_FALSE); }

void blendAdditive() { glBlendFunc(GL_SRC_ALPHA, GL_ONE); }
void blendAlpha() { glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA); }

void setSphereMap(bool on) {
  enable(GL_TEXTURE_GEN_S, on);
  enable(GL_TEXTURE_GEN_T, on);
  if (on) {
    glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
    glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
  }
}

void selectMatrix(int target) {
  switch (target) {
    case TextureMatrix:
      glMatrixMode(GL_TEXTURE);
      break;
    case ModelViewMatrix:
      glMatrixMode(GL_MODELVIEW);
      break;
    case ProjectionMatrix:
      glMatrixMode(GL_PROJECTION);
      break;
    default:
      break;
  }
}

void loadIdentity() { glLoadIdentity(); }
void pushMatrix() { glPushMatrix(); }
void popMatrix() { glPopMatrix(); }
void translate(const Vec3& v) { glTranslatef(v.x, v.y, v.z); }
void scaleUniform(float s) { glScalef(s, s, s); }
void scale(const Vec3& v) { glScalef(v.x, v.y, v.z); }
void rotate(const Vec3& axis, float degrees) { glRotatef(degrees, axis.x, axis.y, axis.z); }

void setColour3(const Vec3& rgb) { glColor3f(rgb.x, rgb.y, rgb.z); }
void setColour4(const Vec3& rgb, float alpha) { glColor4f(rgb.x, rgb.y, rgb.z, alpha); }
void setWhite() { glColor4f(1.0f, 1.0f, 1.0f, 1.0f); }

void setSpecular(const Vec3& rgb) {
  const GLfloat colour[4] = {rgb.x, rgb.y, rgb.z, 1.0f};
  glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, colour);
}

void setShininess(float s) { glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, s); }

void vertex(const Vec3& v) { glVertex3f(v.x, v.y, v.z); }
void texCoord(const float* uv) { glTexCoord2fv(uv); }
