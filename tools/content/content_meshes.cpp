#include "tools/content/content_meshes.h"

#include <cmath>

namespace {

constexpr float pi = 3.14159265f;

// A point of a tube around a centre line c(v) with radius r(u, v), the ring spanned by two
// fixed directions perpendicular to the line's main axis.
Vec3 ring(Vec3 centre, float radius, float u, Vec3 side, Vec3 across) {
  const float a = 2 * pi * u;
  return centre + side * (radius * std::cos(a)) + across * (radius * std::sin(a));
}

// Rounded ends: the radius falls to zero at both poles like a sphere's, a little fuller.
float capProfile(float v, float fullness) {
  return std::pow(std::fabs(std::sin(pi * v)), fullness);
}

// A smooth bump on the unit sphere around `centre`, 1 at the centre, fading over `width`.
float bump(Vec3 d, Vec3 centre, float width) {
  const float c = dot(d, centre);
  return std::exp((c - 1) / width);
}

// Fixed directions spread over the sphere (golden-angle spiral), for wobble centres.
Vec3 spreadDirection(int i, int count) {
  const float y = 1 - 2 * (i + 0.5f) / count;
  const float r = std::sqrt(1 - y * y);
  const float a = i * 2.39996323f;
  return Vec3(r * std::cos(a), y, r * std::sin(a));
}

MorphSource morphFromSphere(int frequency,
                            const std::function<float(Vec3 direction, float phase)>& radius) {
  const SurfaceMesh sphere = geodesicSphere(frequency);
  MorphSource source;
  source.triangles = sphere.triangles;
  for (int k = 0; k < morphKeyCount; ++k) {
    const float phase = 2 * pi * k / morphKeyCount;
    std::vector<Vec3>& key = source.keys[k];
    key.reserve(sphere.positions.size());
    for (const Vec3& d : sphere.positions) key.push_back(d * radius(d, phase));
  }
  return source;
}

}  // namespace

SurfaceMesh sphereMesh() {
  // Twelve columns and six rings: 120 triangles, the most the many atoms can pay for, with an
  // outline as round as that allows when a cell's body fills the view.
  return parametricSurface(
      12, 6,
      [](float u, float v) {
        const float a = 2 * pi * u, b = pi * v;
        return Vec3(7 * std::sin(b) * std::cos(a), 7 * std::cos(b), 7 * std::sin(b) * std::sin(a));
      },
      2, 1);
}

SurfaceMesh lowsMesh() {
  const float r = lowsRadius;
  // Ten columns and six rings: 100 triangles, since 1200 nucleus particles draw it too; as
  // the background shell its facets are large, and more columns keep their bends small.
  return parametricSurface(10, 6, [r](float u, float v) {
    const float a = 2 * pi * u, b = pi * v;
    return Vec3(r * std::sin(b) * std::cos(a), r * std::cos(b), r * std::sin(b) * std::sin(a));
  });
}

SurfaceMesh mitoMesh() {
  // Along x, 5 units end to end, slightly bent, with ridges where the inner folds press out.
  return parametricSurface(
      10, 7,
      [](float u, float v) {
        const float along = -std::cos(pi * v);  // -1 .. 1, denser near the ends
        const float x = 2.5f * along;
        const Vec3 centre(x, 0.35f * (1 - along * along), 0);
        const float ridges = 1 + 0.08f * std::sin(6 * pi * along) +
                             0.05f * std::cos(4 * pi * u) * std::sin(3 * pi * along);
        const float r = 1.15f * capProfile(v, 0.55f) * ridges;
        return ring(centre, r, u, Vec3(0, 1, 0), Vec3(0, 0, 1));
      },
      2, 1);
}

SurfaceMesh riboMesh() {
  // A large, slightly flattened lobe on top of a smaller, offset one.
  SurfaceMesh large = parametricSurface(8, 5, [](float u, float v) {
    const float a = 2 * pi * u, b = pi * v;
    return Vec3(5.2f * std::sin(b) * std::cos(a), 2.2f + 3.8f * std::cos(b),
                4.6f * std::sin(b) * std::sin(a));
  });
  SurfaceMesh small = parametricSurface(8, 5, [](float u, float v) {
    const float a = 2 * pi * u, b = pi * v;
    return Vec3(0.8f + 3.9f * std::sin(b) * std::cos(a), -2.6f + 2.8f * std::cos(b),
                0.6f + 3.3f * std::sin(b) * std::sin(a));
  });
  appendSurface(large, small);
  return large;
}

SurfaceMesh chromMesh() {
  // Two sister chromatids, each a bent rod 30 units long bowing outward from the centromere
  // where they touch: together an X.
  SurfaceMesh mesh;
  for (float side : {-1.0f, 1.0f}) {
    SurfaceMesh arm = parametricSurface(
        8, 7,
        [side](float u, float v) {
          const float along = -std::cos(pi * v);  // -1 .. 1
          const float bow = 2.2f + 6.5f * along * along;
          const Vec3 centre(side * bow, 15 * along, 0.6f * along);
          const float pinch = 1 - 0.35f * std::exp(-along * along / 0.02f);
          const float r = 3.4f * capProfile(v, 0.45f) * pinch;
          return ring(centre, r, u, Vec3(1, 0, 0), Vec3(0, 0, 1));
        },
        2, 3);
    appendSurface(mesh, arm);
  }
  return mesh;
}

MorphSource cellMembrane(int frequency) {
  return morphFromSphere(frequency, [](Vec3 d, float phase) {
    // Breathing of the whole cell, plus six bulges that rise and fall out of step.
    float r = 1 + 0.035f * std::sin(phase);
    for (int i = 0; i < 6; ++i) {
      const Vec3 centre = spreadDirection(i, 6);
      const float cycles = (i % 3 == 0) ? 2.0f : 1.0f;
      r += 0.06f * bump(d, centre, 0.4f) * std::sin(cycles * phase + 1.7f * i);
    }
    // A fixed, gentle unevenness so the surface never looks machined.
    r += 0.025f * std::sin(5 * d.x + 2) * std::sin(4 * d.y + 1) * std::sin(3 * d.z + 3);
    return 25 * r;
  });
}

MorphSource nucleusBody(int frequency) {
  return morphFromSphere(frequency, [](Vec3 d, float phase) {
    float r = 1 + 0.02f * std::sin(phase);
    for (int i = 0; i < 4; ++i) {
      const Vec3 centre = spreadDirection(i, 4);
      r += 0.1f * bump(d, centre, 0.5f) * (0.5f + 0.5f * std::sin(phase + 1.57f * i));
    }
    r += 0.03f * std::sin(4 * d.x + 1) * std::sin(3 * d.y + 2) * std::sin(5 * d.z);
    return 20 * r;
  });
}
