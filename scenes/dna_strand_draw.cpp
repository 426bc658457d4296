// drawStrand: the DNA scene's two copies of a strand-built helix, the flying atoms, the bead
// rungs and the fragments. Every object is a copy of one small mesh, so each pass collects its
// copies' matrices on the CPU and draws them in one call, in the order the passes list them.
#include <GL/gl.h>

#include "render/gl_state.h"
#include "scenes/dna_helix.h"
#include "settings/settings.h"

namespace {

const Vec3 yAxis{0.0f, 1.0f, 0.0f};
constexpr float copyOffset = 300.0f;

// The left copy turns with the helix, the right one a quarter turn further.
Transform leftCopy(float spin) {
  return Transform::identity().translate(Vec3(-copyOffset, 0, 0)).rotate(yAxis, spin);
}
Transform rightCopy(float spin) {
  return Transform::identity().translate(Vec3(copyOffset, 0, 0)).rotate(yAxis, spin + 90.0f);
}

Transform at(Transform frame, Vec3 p) { return frame.translate(p); }

}  // namespace

void DnaHelix::drawStrand() {
  if (strandA.empty()) return;
  const Transform left = leftCopy(spin);
  const Transform right = rightCopy(spin);

  setBlending(false);
  setDepthWrite(true);
  setCulling(true);
  setSpecular(Vec3(0.7f, 0.7f, 0.8f));
  setShininess(16.0f);
  atomTexture.bind();
  setSphereMap(true);
  // A strand-built helix has no twist per pair, so the atoms' texture matrix stays the identity.
  selectMatrix(TextureMatrix);
  loadIdentity();
  selectMatrix(ModelViewMatrix);

  // Waiting atoms in the left copy, flying ones in world coordinates, arrived ones in the right
  // copy; all opaque, so one batch.
  atomBatch.clear();
  const std::size_t n = strandA.size();
  for (std::size_t i = 0; i < n; ++i) {
    if (phase[i] == 0) {
      atomBatch.add(at(left, strandA[i]), pointColour[i], 1.0f);
      atomBatch.add(at(left, strandB[i]), pointColour[i], 1.0f);
    }
  }
  for (std::size_t i = 0; i < n; ++i) {
    if (phase[i] == 1) {
      atomBatch.add(at(Transform::identity(), flyA[i]), pointColour[i], 1.0f);
      atomBatch.add(at(Transform::identity(), flyB[i]), pointColour[i], 1.0f);
    }
  }
  for (std::size_t i = 0; i < n; ++i) {
    if (phase[i] == 2) {
      atomBatch.add(at(right, strandA[i]), pointColour[i], 1.0f);
      atomBatch.add(at(right, strandB[i]), pointColour[i], 1.0f);
    }
  }
  atomBatch.draw();

  // Bead rungs, additive: the even steps in the left copy, then the odd ones in the right copy,
  // fading in one after another from time 20. Successive beads sit 2 above and 2 below.
  setBlending(true);
  setWhite();
  beadBatch.clear();
  float beadLift = 2.0f;
  for (std::size_t pass = 0; pass < 2; ++pass) {
    const bool leftRungs = pass == 0;
    for (std::size_t l = pass; l < rungEndA.size(); l += 2) {
      float a = 1.0f;
      if (!leftRungs) {
        // Grows past 1 after the fade; OpenGL clamps the colour, and so does the batch.
        a = time - 10.0f * static_cast<float>(l) / 27.0f - 20.0f;
        if (a < 0.0f) a = 0.0f;
      }
      for (int k = 1; k <= 9; ++k) {
        const float s = static_cast<float>(k) / 10.0f;
        const Vec3 p = lerp(rungEndA[l], rungEndB[l], s) + Vec3(0.0f, beadLift, 0.0f);
        beadLift = -beadLift;
        beadBatch.add(at(leftRungs ? left : right, p), lerp(rungColourA[l], rungColourB[l], s), a);
      }
    }
  }
  beadBatch.draw();

  if (settings.Detail != 0) {
    fragmentBatch.clear();
    const Transform cloud = Transform::identity().translate(Vec3(0.0f, 400.0f, 0.0f));
    for (std::size_t k = 0; k < fragmentSpin.size(); ++k) {
      Transform t = cloud;
      t.rotate(fragmentTiltAxis[k], fragmentTilt[k])
          .rotate(Vec3(1.0f, 0.0f, 0.0f), fragmentSpin[k])
          .translate(Vec3(0.0f, fragmentRadius[k], 0.0f))
          .rotate(fragmentSelfAxis[k], 6.0f * fragmentSpin[k])
          .scale(0.7f);
      fragmentBatch.add(t, fragmentColour[k], 0.14f);
    }
    fragmentBatch.draw();
  }

  setSphereMap(false);
}
