#pragma once
// Procedural triangle surfaces for the generated meshes: closed, outward-facing (counter-
// clockwise seen from outside), with smooth normals that ignore texture seams.
#include <cstdint>
#include <functional>
#include <vector>

#include "render/math.h"

struct SurfaceMesh {
  std::vector<Vec3> positions;
  std::vector<float> uvs;                // u, v per vertex
  std::vector<std::uint32_t> triangles;  // 3 per triangle
};

// A surface over the parameter square: u runs around (0..1, the seam duplicated so that the
// texture wraps), v runs from one pole (0) to the other (1). At the poles all points of a row
// meet, so those rows make one triangle per column. uScale and vScale set how often the
// texture repeats.
SurfaceMesh parametricSurface(int segments, int rings, const std::function<Vec3(float, float)>& at,
                              float uScale = 1, float vScale = 1);

// A sphere subdivided from the icosahedron, every edge split into `frequency` parts: even
// triangles, no poles, no seams (10 f^2 + 2 vertices). Positions are unit vectors.
SurfaceMesh geodesicSphere(int frequency);

// Appends b to a (indices shifted).
void appendSurface(SurfaceMesh& a, const SurfaceMesh& b);

// Turns every triangle so that the closed surface faces outward (positive enclosed volume).
void orientOutward(SurfaceMesh& mesh);

// Per-vertex normals: area-weighted face normals summed over every vertex at the same place,
// so duplicated seam and pole vertices share one smooth normal.
std::vector<Vec3> smoothNormals(const std::vector<Vec3>& positions,
                                const std::vector<std::uint32_t>& triangles);
