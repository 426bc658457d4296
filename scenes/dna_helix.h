#pragma once
// DnaHelix: every DNA double helix on screen.
//
// Two ways to build one:
//  - procedural (buildProcedural): a straight, regular helix of atom spheres joined by flat
//    crossed rungs; it only spins. The cells field and the nucleus draw it with drawAtoms and
//    drawRungs after binding atomTexture / rungTexture and setting alpha.
//  - from a strand profile (loadStrand, entry "dna%d.dat"): a supercoiled double strand of
//    2 x 324 atoms, 27 bead rungs and 400 floating fragments, drawn by drawStrand as two
//    copies side by side; after startUnzip every even atom pair flies from the left copy to the
//    right one between helix time 12 and about 31.
//
// The geometry, the random draws and the animation are plain CPU work (buildProceduralGeometry,
// buildStrandFromBytes, update, startUnzip) and run without a GL context; buildProcedural and
// loadStrand add the meshes, textures and the rung list around them.
//
// Random draws (randomUnit), in this order: loadStrand draws the 400 fragments (spin, tilt,
// tilt axis x/y/z, self axis x/y/z, speed, radius, colour blue/green/red), then the two colours
// of each of the 27 rung steps, then one start-time offset per even pair; update draws, for each
// pair entering its flight, r then the direction for the first strand, then for the second;
// startUnzip draws one start-time offset per even pair. A procedural helix has no schedule:
// startUnzip only resets its time and spin, and update never draws.
//
// A profile entry that is missing or shorter than 288 bytes fails cleanly: loadStrand returns
// false before any random draw, and the helix stays empty (no atoms, no fragments, not animated)
// so that every draw call draws nothing. Only the first 288 bytes of a longer entry are read.
// A profile with non-finite numbers is refused the same way.
//
// Drawing: drawAtoms and drawRungs call atomList and rungList per atom and rung (a procedural
// helix is small, and its atoms' sphere-map texture matrix changes from atom to atom).
// drawStrand draws its atoms, beads and fragments as three batches (atomBatch, beadBatch and
// fragmentBatch, from meshes\sphere.dat and meshes\chrom.dat) whose per-object matrices are applied
// on the CPU, normals included: the picture of one display-list call per object in a few draw
// calls. A strand-built helix therefore keeps atomList and fragmentList at 0.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "assets/texture.h"
#include "render/math.h"
#include "scenes/mesh_batch.h"

// The 12 records of a strand profile: per atom its offset (x along the first cross-section
// axis, y along the second, z along the coil tangent) and its colour.
struct StrandProfile {
  static constexpr std::size_t recordCount = 12;
  static constexpr std::size_t byteSize = 288;
  Vec3 offset[recordCount];
  Vec3 colour[recordCount];
};

// Reads the first 288 bytes (little-endian float32 records of 24 bytes). False, leaving
// `profile` untouched, when fewer bytes are given or a value is not finite.
bool parseStrandProfile(const std::uint8_t* bytes, std::size_t size, StrandProfile& profile);

class DnaHelix {
 public:
  static constexpr std::size_t fragmentCount = 400;
  static constexpr std::size_t coilSteps = 27;  // 540 / 20

  DnaHelix() = default;
  virtual ~DnaHelix() = default;

  // Loads the sphere mesh and both textures, builds the geometry and compiles the rung list.
  void buildProcedural(float angleStep, float rise, unsigned pairCount);
  // The geometry part alone: rise, angleStep, strandA and strandB. No GL call.
  void buildProceduralGeometry(float angleStep, float rise, unsigned pairCount);

  // Loads the profile entry, the sphere and fragment meshes and the atom texture, then builds
  // the strand. False (and an empty helix) when the profile is missing, short or malformed.
  bool loadStrand(const char* assetName);
  // The strand build from profile bytes alone (random draws included). No GL call.
  bool buildStrandFromBytes(const std::uint8_t* bytes, std::size_t size);
  void buildStrand(const StrandProfile& profile);

  // Advances time, spin, the flights and the fragments by dt seconds.
  void update(float dt);
  // Returns every pair to the left copy and draws new start times; time and spin restart at 0.
  void startUnzip();

  // Procedural helix, inside the caller's pushed and placed matrix with a bound texture.
  void drawAtoms();
  void drawRungs();
  // Strand-built helix, in world coordinates with the frame's camera set.
  void drawStrand();

  std::size_t pairCount() const { return strandA.size(); }

  float time = 0.0f;
  float spin = 0.0f;
  float rise = 0.0f;
  float angleStep = 0.0f;
  float alpha = 1.0f;
  bool animated = false;

  std::vector<Vec3> strandA, strandB;
  std::vector<Vec3> pointColour;
  std::vector<Vec3> rungEndA, rungEndB;
  std::vector<Vec3> rungColourA, rungColourB;
  std::vector<std::uint8_t> phase;      // 0 waiting, 1 flying, 2 arrived
  std::vector<std::uint8_t> scheduled;  // 1 for pairs that fly
  std::vector<float> startTime;
  std::vector<Vec3> flyStartA, flyEndA;
  std::vector<Vec3> controlA, controlB;
  std::vector<Vec3> flyA, flyB;

  std::vector<float> fragmentSpin, fragmentTilt;
  std::vector<Vec3> fragmentTiltAxis, fragmentSelfAxis;
  std::vector<float> fragmentSpeed, fragmentRadius;
  std::vector<Vec3> fragmentColour;

  std::uint32_t atomList = 0;
  std::uint32_t rungList = 0;
  std::uint32_t fragmentList = 0;

  Texture rungTexture;
  Texture atomTexture;

  MeshBatch atomBatch;      // strand-built: sphere corners, refilled every drawStrand
  MeshBatch beadBatch;      // the same sphere, for the rung beads
  MeshBatch fragmentBatch;  // strand-built: fragment corners

 private:
  void clear();
  void fly(std::size_t i);
};
