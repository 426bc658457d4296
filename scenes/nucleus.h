#pragma once
// Nucleus: the scene of the Core state. A slowly turning, pulsing body with an additive glow
// shell, a procedural DNA helix inside it and 1400 particles (1200 blobs, 200 ribosomes)
// circling it on tilted orbits.
//
// The constructor draws the particles' values (randomUnit) particle by particle in the order
// spinAngle, orbitTilt, orbitAxis (3), selfAxis (3), speed, radius, colour (blue, green, red).
// Constructed before the run seeds the generator, the layout is the same in every run.
//
// load, update and draw are called by the run content and the frame composition; update and
// the particle transforms (particleTransform) need no GL context. The particles are drawn in
// two batched vertex-array calls, one per mesh kind, each particle's matrix (the same rotations,
// translation and scale as a push/rotate/translate/scale sequence) applied on the CPU, normals
// included. A missing mesh or texture draws nothing of that kind; nothing fails hard.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "assets/morph_mesh.h"
#include "assets/texture.h"
#include "render/math.h"
#include "scenes/dna_helix.h"
#include "scenes/mesh_batch.h"

class Nucleus {
 public:
  static constexpr std::size_t particleCount = 1400;
  static constexpr std::size_t blobCount = 1200;  // particles 0..1199; the rest are ribosomes

  Nucleus();
  virtual ~Nucleus() = default;

  // Body (animation\core.trk, or animation\lcore.trk when Detail is 0), textures, particle
  // meshes and the inner helix (20 degrees, rise 15, 18 pairs).
  void load();
  void update(float dt);
  void draw();

  // The model matrix of particle i (column-major, as glGetFloatv returns it) relative to the
  // matrix the particles are drawn in.
  Transform particleTransform(std::size_t i) const;

  MorphMesh membrane;
  Texture bodyTexture;
  Texture shellTexture;
  DnaHelix helix;
  MeshBatch blobMesh;
  MeshBatch riboMesh;

  float spin = 0.0f;
  Vec3 tint{1.0f, 1.0f, 1.0f};

  std::vector<float> spinAngle;
  std::vector<float> orbitTilt;
  std::vector<Vec3> orbitAxis;
  std::vector<Vec3> selfAxis;
  std::vector<float> speed;
  std::vector<float> radius;
  std::vector<Vec3> particleColour;
};
