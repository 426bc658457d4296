#include "scenes/nucleus.h"

#include <GL/gl.h>

#include "render/gl_state.h"
#include "settings/settings.h"

namespace {

float wrapDegrees(float a) { return a > 360.0f ? a - 360.0f : a; }

}  // namespace

Nucleus::Nucleus() {
  spinAngle.resize(particleCount);
  orbitTilt.resize(particleCount);
  orbitAxis.resize(particleCount);
  selfAxis.resize(particleCount);
  speed.resize(particleCount);
  radius.resize(particleCount);
  particleColour.resize(particleCount);
  for (std::size_t i = 0; i < particleCount; ++i) {
    spinAngle[i] = 360.0f * randomUnit();
    orbitTilt[i] = 360.0f * randomUnit();
    orbitAxis[i] = randomDirection();
    selfAxis[i] = randomDirection();
    speed[i] = 1.0f + 20.0f * randomUnit();
    radius[i] = 270.0f + 600.0f * randomUnit();
    Vec3& c = particleColour[i];  // blue, green, red
    c.z = 1.0f - 0.7f * randomUnit();
    c.y = 1.0f - 0.7f * randomUnit();
    c.x = 1.0f - 0.7f * randomUnit();
  }
}

void Nucleus::load() {
  membrane.load(settings.Detail != 0 ? "animation\\core.trk" : "animation\\lcore.trk");
  bodyTexture.load("textures\\hcore.jpg");
  shellTexture.load("textures\\cell.jpg");
  blobMesh.load("meshes\\lows.dat");
  riboMesh.load("meshes\\ribo.dat");
  helix.buildProcedural(20.0f, 15.0f, 18);
}

void Nucleus::update(float dt) {
  membrane.advance(dt * 1.9f);
  helix.update(dt);
  spin = wrapDegrees(spin + 50.0f * dt);
  for (std::size_t i = 0; i < particleCount; ++i) {
    spinAngle[i] = wrapDegrees(spinAngle[i] + speed[i] * dt);
  }
}

Transform Nucleus::particleTransform(std::size_t i) const {
  // Ribosomes turn about their own axis sixteen times faster than they orbit.
  const float selfTurn = i < blobCount ? spinAngle[i] : 16.0f * spinAngle[i];
  Transform t = Transform::identity();
  t.rotate(orbitAxis[i], orbitTilt[i])
      .rotate(Vec3(1.0f, 0.0f, 0.0f), spinAngle[i])
      .translate(Vec3(0.0f, radius[i], 0.0f))
      .rotate(selfAxis[i], selfTurn)
      .scale(0.6f);
  return t;
}

void Nucleus::draw() {
  const Vec3 helixPlace(0.0f, -100.0f, 0.0f);

  // The helix hanging inside the body: opaque-ish atoms, then additive unlit rungs.
  setCulling(true);
  blendAlpha();
  pushMatrix();
  translate(helixPlace);
  scaleUniform(0.8f);
  helix.alpha = 1.0f;
  helix.atomTexture.bind();
  helix.drawAtoms();
  popMatrix();

  pushMatrix();
  translate(helixPlace);
  scaleUniform(0.8f);
  setCulling(false);
  setLighting(false);
  blendAdditive();
  helix.rungTexture.bind();
  helix.drawRungs();
  popMatrix();

  setLighting(true);
  setDepthWrite(false);

  // The body, then its glow shell slightly larger, additive and writing depth.
  pushMatrix();
  rotate(Vec3(0.0f, -1.0f, 1.0f), spin);
  setColour4(tint, 0.9f);
  setSpecular(0.5f * (Vec3(1.0f, 1.0f, 1.0f) - tint));
  setSphereMap(true);
  bodyTexture.bind();
  setShininess(10.0f);
  blendAlpha();
  setCulling(true);
  scaleUniform(10.0f);
  membrane.bindArrays();
  membrane.drawElements();
  blendAdditive();
  scaleUniform(1.03f);
  shellTexture.bind();
  setDepthWrite(true);
  membrane.drawElements();
  setSphereMap(false);
  popMatrix();
  // Later vertex-array users start from a clean state.
  glDisableClientState(GL_VERTEX_ARRAY);
  glDisableClientState(GL_TEXTURE_COORD_ARRAY);
  glDisableClientState(GL_NORMAL_ARRAY);

  setDepthWrite(false);

  // The particles: additive, lit, shellTexture through the meshes' own coordinates.
  blobMesh.clear();
  riboMesh.clear();
  for (std::size_t i = 0; i < particleCount; ++i) {
    MeshBatch& batch = i < blobCount ? blobMesh : riboMesh;
    batch.add(particleTransform(i), particleColour[i], 0.3f);
  }
  blobMesh.draw();
  riboMesh.draw();
}
