#include "scenes/dna_helix.h"

#include <GL/gl.h>

#include <cmath>
#include <cstring>

#include "assets/asset_buffer.h"
#include "assets/mesh_model.h"
#include "render/gl_state.h"

namespace {

const Vec3 yAxis{0.0f, 1.0f, 0.0f};
const Vec3 zero{0.0f, 0.0f, 0.0f};

// Left and right copies of a strand stand this far from the origin along x.
constexpr float copyOffset = 300.0f;

float wrapDegrees(float a) { return a > 360.0f ? a - 360.0f : a; }

// Three draws: blue first, then green, then red.
Vec3 randomColour(float base, float scale) {
  Vec3 c;
  c.z = base + scale * randomUnit();
  c.y = base + scale * randomUnit();
  c.x = base + scale * randomUnit();
  return c;
}

Vec3 rotateAboutPivot(Vec3 point, Vec3 axis, Vec3 pivot, float angle) {
  return rotateAboutPoint(point, axis, pivot, angle);
}

// The flight control point: r is drawn before the direction.
Vec3 randomControl() {
  const float r = 100.0f + 400.0f * randomUnit();
  const Vec3 direction = randomDirection();
  return Vec3(0.0f, 400.0f, 0.0f) + direction * r;
}

// Two Hermite pieces through the control point, one second each.
Vec3 twoPieceFlight(Vec3 start, Vec3 end, Vec3 control, float sinceStart) {
  const Vec3 m = (end - start) / 2.0f;
  if (sinceStart < 1.0f) return hermite(start, control, zero, m, sinceStart);
  return hermite(control, end, m, zero, sinceStart - 1.0f);
}

float startTimeOf(std::size_t i) {
  return (12.0f + 0.05f * static_cast<float>(i)) + 0.9f * randomUnit();
}

}  // namespace

bool parseStrandProfile(const std::uint8_t* bytes, std::size_t size, StrandProfile& profile) {
  if (!bytes || size < StrandProfile::byteSize) return false;
  float values[StrandProfile::byteSize / 4];
  std::memcpy(values, bytes, sizeof values);
  for (float v : values) {
    if (!std::isfinite(v)) return false;
  }
  for (std::size_t j = 0; j < StrandProfile::recordCount; ++j) {
    const float* r = values + 6 * j;
    profile.offset[j] = Vec3(r[0], r[1], r[2]);
    profile.colour[j] = Vec3(r[3], r[4], r[5]);
  }
  return true;
}

void DnaHelix::clear() {
  time = 0.0f;
  spin = 0.0f;
  rise = 0.0f;
  angleStep = 0.0f;
  animated = false;
  for (auto* list : {&strandA, &strandB, &pointColour, &rungEndA, &rungEndB, &rungColourA,
                     &rungColourB, &flyStartA, &flyEndA, &controlA, &controlB, &flyA, &flyB,
                     &fragmentTiltAxis, &fragmentSelfAxis, &fragmentColour}) {
    list->clear();
  }
  for (auto* list : {&startTime, &fragmentSpin, &fragmentTilt, &fragmentSpeed, &fragmentRadius}) {
    list->clear();
  }
  phase.clear();
  scheduled.clear();
}

void DnaHelix::buildProceduralGeometry(float angleStep_, float rise_, unsigned pairCount) {
  clear();
  angleStep = angleStep_;
  rise = rise_;
  for (unsigned i = 0; i < pairCount; ++i) {
    const float theta = wrapDegrees(static_cast<float>(i) * angleStep);
    const Vec3 p(40.0f, rise * static_cast<float>(i), 0.0f);
    strandA.push_back(rotateAboutAxis(p, yAxis, theta));
    strandB.push_back(rotateAboutAxis(p, yAxis, theta + 180.0f));
  }
}

void DnaHelix::buildProcedural(float angleStep_, float rise_, unsigned pairCount) {
  MeshModel sphere;
  sphere.load("meshes\\sphere.dat");
  atomList = sphere.list;
  rungTexture.load("textures\\link.jpg");
  atomTexture.load("textures\\dna.jpg");
  buildProceduralGeometry(angleStep_, rise_, pairCount);

  // Two crossed quads, 80 long and 10 wide, textured along their length.
  rungList = glGenLists(1);
  if (rungList == 0) return;
  const Vec3 p(40.0f, 0.0f, 0.0f);
  glNewList(rungList, GL_COMPILE);
  glBegin(GL_TRIANGLES);
  for (const Vec3 across : {Vec3(0.0f, 5.0f, 0.0f), Vec3(0.0f, 0.0f, 5.0f)}) {
    const struct {
      Vec3 at;
      float st[2];
    } corners[6] = {{p + across, {0, 0}}, {p - across, {0, 1}},  {-p - across, {1, 1}},
                    {p + across, {0, 0}}, {-p - across, {1, 1}}, {-p + across, {1, 0}}};
    for (const auto& c : corners) {
      texCoord(c.st);
      vertex(c.at);
    }
  }
  glEnd();
  glEndList();
}

bool DnaHelix::loadStrand(const char* assetName) {
  clear();
  AssetBuffer entry;
  StrandProfile profile;
  const bool parsed = entry.open(assetName) && parseStrandProfile(entry.data, entry.size, profile);
  entry.release();
  if (!parsed) return false;
  atomBatch.load("meshes\\sphere.dat");
  beadBatch = atomBatch;
  fragmentBatch.load("meshes\\chrom.dat");
  atomTexture.load("textures\\dna.jpg");
  buildStrand(profile);
  return true;
}

bool DnaHelix::buildStrandFromBytes(const std::uint8_t* bytes, std::size_t size) {
  clear();
  StrandProfile profile;
  if (!parseStrandProfile(bytes, size, profile)) return false;
  buildStrand(profile);
  return true;
}

void DnaHelix::buildStrand(const StrandProfile& profile) {
  clear();
  animated = true;

  // Coil frame: b along the coil, d and f across it.
  Vec3 b = normalize(Vec3(0.0f, 1.0f, 1.0f));
  Vec3 d(1.0f, 0.0f, 0.0f);
  Vec3 f = normalize(cross(d, b));

  // Centre the half turn (nine 20-degree steps) about the y axis.
  Vec3 v(0.0f, 0.0f, 40.0f * b.z);
  float total = 0.0f;
  for (int k = 0; k < 180 / 20; ++k) {
    total += v.x;
    v = rotateAboutAxis(v, yAxis, 20.0f);
  }
  Vec3 w(-total / 2.0f, 0.0f, 0.0f);

  for (std::size_t k = 0; k < fragmentCount; ++k) {
    fragmentSpin.push_back(360.0f * randomUnit());
    fragmentTilt.push_back(360.0f * randomUnit());
    fragmentTiltAxis.push_back(randomDirection());
    fragmentSelfAxis.push_back(randomDirection());
    fragmentSpeed.push_back(1.0f + 20.0f * randomUnit());
    fragmentRadius.push_back(250.0f + 500.0f * randomUnit());
    fragmentColour.push_back(randomColour(1.0f, -0.7f));
  }

  for (std::size_t l = 0; l < coilSteps; ++l) {
    Vec3 end = w;
    end.y -= f.y * 40.0f * static_cast<float>(l);
    end = rotateAboutAxis(end, yAxis, 20.0f * static_cast<float>(l));
    rungEndA.push_back(end);
    rungEndB.push_back(rotateAboutAxis(end, yAxis, 180.0f));
    rungColourA.push_back(randomColour(0.0f, 1.0f));
    rungColourB.push_back(randomColour(0.0f, 1.0f));
  }

  float phi = 0.0f;
  for (std::size_t l = 0; l < coilSteps; ++l) {
    const Vec3 g = rotateAboutAxis(d, b, phi);
    const Vec3 h = rotateAboutAxis(f, b, phi);
    for (std::size_t j = 0; j < StrandProfile::recordCount; ++j) {
      const Vec3 q = profile.offset[j];
      const Vec3 a = w + q.x * g + q.y * h + q.z * b;
      strandA.push_back(a);
      strandB.push_back(rotateAboutAxis(a, yAxis, 180.0f));
      pointColour.push_back(profile.colour[j]);
      phase.push_back(0);
      scheduled.push_back(0);
      startTime.push_back(0.0f);
    }
    w += 40.0f * b;
    phi += 80.0f;
    d = rotateAboutAxis(d, yAxis, 20.0f);
    f = rotateAboutAxis(f, yAxis, 20.0f);
    b = rotateAboutAxis(b, yAxis, 20.0f);
  }

  const std::size_t n = strandA.size();
  for (auto* list : {&flyStartA, &flyEndA, &flyA, &flyB, &controlA, &controlB}) {
    list->assign(n, zero);
  }
  for (std::size_t i = 0; i < n; i += 2) {
    scheduled[i] = 1;
    startTime[i] = startTimeOf(i);
  }
}

void DnaHelix::update(float dt) {
  time += dt;
  spin = wrapDegrees(spin + 120.0f * dt);
  if (!animated) return;

  for (std::size_t i = 0; i < scheduled.size(); ++i) {
    if (scheduled[i] != 1) continue;
    const float s = startTime[i];
    if (time > s + 2.0f) {
      phase[i] = 2;
    } else if (time > s) {
      fly(i);
    }
  }
  for (std::size_t k = 0; k < fragmentSpin.size(); ++k) {
    fragmentSpin[k] = wrapDegrees(fragmentSpin[k] + fragmentSpeed[k] * dt);
  }
}

void DnaHelix::fly(std::size_t i) {
  const float sinceStart = time - startTime[i];
  if (phase[i] != 1) {
    // From where the atom is drawn in the left copy now to where the right copy will show it
    // two seconds later.
    phase[i] = 1;
    flyStartA[i] =
        rotateAboutAxis(strandA[i], yAxis, -120.0f * time) + Vec3(-copyOffset, 0.0f, 0.0f);
    flyEndA[i] = rotateAboutAxis(strandA[i], yAxis, -120.0f * (time + 2.0f) - 90.0f) +
                 Vec3(copyOffset, 0.0f, 0.0f);
    controlA[i] = randomControl();
    controlB[i] = randomControl();
  }
  flyA[i] = twoPieceFlight(flyStartA[i], flyEndA[i], controlA[i], sinceStart);
  const Vec3 startB = rotateAboutPivot(flyStartA[i], yAxis, Vec3(-copyOffset, 0.0f, 0.0f), 180.0f);
  const Vec3 endB = rotateAboutPivot(flyEndA[i], yAxis, Vec3(copyOffset, 0.0f, 0.0f), 180.0f);
  flyB[i] = twoPieceFlight(startB, endB, controlB[i], sinceStart);
}

void DnaHelix::startUnzip() {
  time = 0.0f;
  spin = 0.0f;
  // Only a strand-built helix has start times; a procedural one has nothing to schedule.
  for (std::size_t i = 0; i < startTime.size(); i += 2) startTime[i] = startTimeOf(i);
  for (auto& p : phase) p = 0;
}

void DnaHelix::drawAtoms() {
  rotate(yAxis, spin);
  setSphereMap(true);
  for (std::size_t i = 0; i < strandA.size(); ++i) {
    // The texture matrix turns a little further with every atom.
    selectMatrix(TextureMatrix);
    rotate(yAxis, static_cast<float>(i) * angleStep);
    selectMatrix(ModelViewMatrix);
    float c[3] = {0.2f, 0.2f, 0.2f};
    c[i % 3] = 1.0f;
    setColour4(Vec3(c[0], c[1], c[2]), alpha);
    pushMatrix();
    translate(strandA[i]);
    glCallList(atomList);
    popMatrix();
    // The partner keeps the first strand's 1 and gains another.
    c[(i + 2) % 3] = 1.0f;
    setColour4(Vec3(c[0], c[1], c[2]), alpha);
    pushMatrix();
    translate(strandB[i]);
    glCallList(atomList);
    popMatrix();
  }
  setSphereMap(false);
  selectMatrix(TextureMatrix);
  loadIdentity();
  selectMatrix(ModelViewMatrix);
}

void DnaHelix::drawRungs() {
  rotate(yAxis, spin);
  setColour4(Vec3(1.0f, 1.0f, 1.0f), alpha);
  for (std::size_t i = 0; i < strandA.size(); ++i) {
    pushMatrix();
    translate(Vec3(0.0f, static_cast<float>(i) * rise, 0.0f));
    rotate(yAxis, -static_cast<float>(i) * angleStep);
    glCallList(rungList);
    popMatrix();
  }
}
