#include "scenes/layer_tunnel.h"

#include <GL/gl.h>

#include "render/gl_state.h"

void LayerTunnel::build() {
  texture.load("textures\\cell.jpg");
  quadList = glGenLists(1);
  if (quadList != 0) {
    // The last two texture coordinates are crossed: with a repeating texture the sheet shows a
    // twisted 2 x 2 tiling rather than a plain one.
    glNewList(quadList, GL_COMPILE);
    glBegin(GL_TRIANGLE_STRIP);
    glTexCoord2f(-1.0f, -1.0f);
    glVertex3f(-1.0f, -1.0f, 0.0f);
    glTexCoord2f(-1.0f, 1.0f);
    glVertex3f(-1.0f, 1.0f, 0.0f);
    glTexCoord2f(1.0f, 1.0f);
    glVertex3f(1.0f, -1.0f, 0.0f);
    glTexCoord2f(1.0f, -1.0f);
    glVertex3f(1.0f, 1.0f, 0.0f);
    glEnd();
    glEndList();
  }
  buildLayers();
}

void LayerTunnel::buildLayers() {
  layerCount = 6;
  for (int i = 0; i < layerCount; ++i) layers.push_back(randomDirection());
}

void LayerTunnel::update(float dt) {
  offset -= 40.0f * dt;
  if (offset < 0.0f) {
    offset += spacing;
    if (!layers.empty()) layers.pop_back();
    layers.push_front(randomDirection());
  }
}

float LayerTunnel::layerAlpha(int i) const {
  if (i == layerCount - 1) return alpha * offset / spacing;
  if (i == 0) return alpha - alpha * offset / spacing;
  return alpha;
}

void LayerTunnel::draw() const {
  setBlending(true);
  pushMatrix();
  loadIdentity();
  texture.bind();
  blendAlpha();
  setDepthTest(false);
  translate({0.0f, 0.0f, -offset - static_cast<float>(layerCount) * spacing});
  int i = 0;
  for (const Vec3& v : layers) {
    setColour4(colour, layerAlpha(i));
    translate({0.0f, 0.0f, spacing});
    selectMatrix(TextureMatrix);
    loadIdentity();
    translate(v);
    selectMatrix(ModelViewMatrix);
    pushMatrix();
    rotate({0.0f, 0.0f, 1.0f}, 1360.0f * v.y);
    scaleUniform(110.0f);
    if (quadList != 0) glCallList(quadList);
    popMatrix();
    ++i;
  }
  setDepthTest(true);
  popMatrix();
  selectMatrix(TextureMatrix);
  loadIdentity();
  selectMatrix(ModelViewMatrix);
}
