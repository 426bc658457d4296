#pragma once
// The shapes of the show: rigid meshes and the key shapes of the pulsing membranes.
#include <array>
#include <vector>

#include "assets/tools/morph_shapes.h"
#include "tools/content/surface_mesh.h"

SurfaceMesh sphereMesh();  // smooth sphere, radius 7: cell body and DNA atom
// Radius of the low-poly sphere. The nucleus and DNA scenes draw it 90 times larger around
// (0, 230, 0) as their background shell, and the far plane lies 1900 units from the eye: at
// radius 11 (990 units) the whole shell stays in view from anywhere within 900 units of its
// centre, where their camera paths run (see scene_flights.cpp). A larger shell would be cut
// by the far plane into a black hole behind the scene.
constexpr float lowsRadius = 11.0f;
SurfaceMesh lowsMesh();   // low-poly sphere of lowsRadius: background shell, nucleus particles
SurfaceMesh mitoMesh();   // mitochondrion: a wavy capsule about 5 units long
SurfaceMesh riboMesh();   // ribosome: a large and a small lobe
SurfaceMesh chromMesh();  // chromosome fragment: two sister arms joined in an X, about 30 units

struct MorphSource {
  std::vector<std::uint32_t> triangles;
  std::array<std::vector<Vec3>, morphKeyCount> keys;
};

// Cell membrane, radius about 25, pulsing and wobbling through one seamless loop of ten keys.
MorphSource cellMembrane(int frequency);
// Nucleus body, radius about 20, slowly bulging.
MorphSource nucleusBody(int frequency);
