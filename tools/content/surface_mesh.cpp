#include "tools/content/surface_mesh.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <tuple>

namespace {

// Positions that coincide are treated as one point when smoothing; the generators produce
// duplicates by the same arithmetic, so exact comparison after rounding is enough.
std::tuple<long, long, long> placeKey(Vec3 p) {
  return {std::lround(p.x * 1e4f), std::lround(p.y * 1e4f), std::lround(p.z * 1e4f)};
}

}  // namespace

SurfaceMesh parametricSurface(int segments, int rings, const std::function<Vec3(float, float)>& at,
                              float uScale, float vScale) {
  SurfaceMesh mesh;
  const int columns = segments + 1;
  for (int r = 0; r <= rings; ++r) {
    const float v = static_cast<float>(r) / rings;
    for (int s = 0; s <= segments; ++s) {
      const float u = static_cast<float>(s) / segments;
      mesh.positions.push_back(at(s == segments ? 0.0f : u, v));
      mesh.uvs.push_back(u * uScale);
      mesh.uvs.push_back(v * vScale);
    }
  }
  auto index = [columns](int r, int s) { return static_cast<std::uint32_t>(r * columns + s); };
  // A ring shrunk to a point (a pole) has one triangle per column, which reaches the point
  // through one of the column's two corners: that corner takes the column's middle in u, so
  // the picture converges evenly instead of shearing each triangle into a star.
  for (int r : {0, rings}) {
    bool point = true;
    for (int s = 1; s <= segments && point; ++s) {
      const Vec3 d = mesh.positions[index(r, s)] - mesh.positions[index(r, 0)];
      point = dot(d, d) < 1e-10f;
    }
    if (!point) continue;
    for (int s = 0; s <= segments; ++s) {
      // The top ring's triangles reach it through their right corner, the bottom's through
      // their left one.
      const float middle = (r == 0 ? s - 0.5f : s + 0.5f) / segments;
      mesh.uvs[2 * index(r, s)] = middle * uScale;
    }
  }
  for (int r = 0; r < rings; ++r) {
    for (int s = 0; s < segments; ++s) {
      if (r != 0) {
        mesh.triangles.insert(mesh.triangles.end(),
                              {index(r, s), index(r, s + 1), index(r + 1, s)});
      }
      if (r != rings - 1) {
        mesh.triangles.insert(mesh.triangles.end(),
                              {index(r, s + 1), index(r + 1, s + 1), index(r + 1, s)});
      }
    }
  }
  orientOutward(mesh);
  return mesh;
}

SurfaceMesh geodesicSphere(int frequency) {
  const float g = (1.0f + std::sqrt(5.0f)) / 2.0f;
  const std::array<Vec3, 12> corners = {Vec3(-1, g, 0),  Vec3(1, g, 0),   Vec3(-1, -g, 0),
                                        Vec3(1, -g, 0),  Vec3(0, -1, g),  Vec3(0, 1, g),
                                        Vec3(0, -1, -g), Vec3(0, 1, -g),  Vec3(g, 0, -1),
                                        Vec3(g, 0, 1),   Vec3(-g, 0, -1), Vec3(-g, 0, 1)};
  const int faces[20][3] = {{0, 11, 5}, {0, 5, 1},  {0, 1, 7},   {0, 7, 10}, {0, 10, 11},
                            {1, 5, 9},  {5, 11, 4}, {11, 10, 2}, {10, 7, 6}, {7, 1, 8},
                            {3, 9, 4},  {3, 4, 2},  {3, 2, 6},   {3, 6, 8},  {3, 8, 9},
                            {4, 9, 5},  {2, 4, 11}, {6, 2, 10},  {8, 6, 7},  {9, 8, 1}};
  SurfaceMesh mesh;
  std::map<std::array<int, 6>, std::uint32_t> known;
  // A grid point is named by its corner numbers and weights in a fixed order, so the points
  // on a shared edge are found again, computed by exactly the same arithmetic.
  auto point = [&](const int c[3], int i, int j, int k) {
    std::vector<std::pair<int, int>> terms;
    for (auto term : {std::pair{c[0], i}, std::pair{c[1], j}, std::pair{c[2], k}}) {
      if (term.second != 0) terms.push_back(term);
    }
    std::sort(terms.begin(), terms.end());
    std::array<int, 6> key = {-1, 0, -1, 0, -1, 0};
    for (std::size_t t = 0; t < terms.size(); ++t) {
      key[2 * t] = terms[t].first;
      key[2 * t + 1] = terms[t].second;
    }
    auto found = known.find(key);
    if (found != known.end()) return found->second;
    Vec3 p(0, 0, 0);
    for (const auto& term : terms) p += corners[term.first] * static_cast<float>(term.second);
    const auto id = static_cast<std::uint32_t>(mesh.positions.size());
    mesh.positions.push_back(normalize(p));
    known.emplace(key, id);
    return id;
  };
  const int n = frequency;
  for (const auto& face : faces) {
    for (int row = 0; row < n; ++row) {
      for (int col = 0; col < n - row; ++col) {
        // Weights (i, j, k) with i + j + k = n: i for corner 0, j for corner 1, k for corner 2.
        const int i = n - row - col;
        const std::uint32_t a = point(face, i, col, row);
        const std::uint32_t b = point(face, i - 1, col + 1, row);
        const std::uint32_t c = point(face, i - 1, col, row + 1);
        mesh.triangles.insert(mesh.triangles.end(), {a, b, c});
        if (col + 1 < n - row) {
          const std::uint32_t d = point(face, i - 2, col + 1, row + 1);
          mesh.triangles.insert(mesh.triangles.end(), {b, d, c});
        }
      }
    }
  }
  mesh.uvs.assign(mesh.positions.size() * 2, 0.0f);
  orientOutward(mesh);
  return mesh;
}

void appendSurface(SurfaceMesh& a, const SurfaceMesh& b) {
  const auto base = static_cast<std::uint32_t>(a.positions.size());
  a.positions.insert(a.positions.end(), b.positions.begin(), b.positions.end());
  a.uvs.insert(a.uvs.end(), b.uvs.begin(), b.uvs.end());
  for (std::uint32_t i : b.triangles) a.triangles.push_back(i + base);
}

void orientOutward(SurfaceMesh& mesh) {
  double volume = 0;
  for (std::size_t t = 0; t + 2 < mesh.triangles.size(); t += 3) {
    const Vec3 a = mesh.positions[mesh.triangles[t]];
    const Vec3 b = mesh.positions[mesh.triangles[t + 1]];
    const Vec3 c = mesh.positions[mesh.triangles[t + 2]];
    volume += dot(a, cross(b, c));
  }
  if (volume >= 0) return;
  for (std::size_t t = 0; t + 2 < mesh.triangles.size(); t += 3) {
    std::swap(mesh.triangles[t + 1], mesh.triangles[t + 2]);
  }
}

std::vector<Vec3> smoothNormals(const std::vector<Vec3>& positions,
                                const std::vector<std::uint32_t>& triangles) {
  std::map<std::tuple<long, long, long>, Vec3> sums;
  for (std::size_t t = 0; t + 2 < triangles.size(); t += 3) {
    const Vec3 a = positions[triangles[t]];
    const Vec3 b = positions[triangles[t + 1]];
    const Vec3 c = positions[triangles[t + 2]];
    const Vec3 n = cross(b - a, c - a);  // length is twice the area: area weighting for free
    for (int k = 0; k < 3; ++k) {
      auto [it, inserted] = sums.try_emplace(placeKey(positions[triangles[t + k]]), Vec3(0, 0, 0));
      it->second += n;
    }
  }
  std::vector<Vec3> normals;
  normals.reserve(positions.size());
  for (const Vec3& p : positions) {
    auto it = sums.find(placeKey(p));
    const Vec3 n = it == sums.end() ? Vec3(0, 0, 0) : it->second;
    if (length(n) > 0) {
      normals.push_back(normalize(n));
    } else {
      normals.push_back(length(p) > 0 ? normalize(p) : Vec3(0, 0, 1));
    }
  }
  return normals;
}
