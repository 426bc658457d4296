#include "tools/content/dna_profiles.h"

#include <cmath>

#include <string>

#include "tools/common/binary_writer.h"
#include "tools/common/output_file.h"

namespace {

// Base colours as molecular models show them.
const Vec3 adenine(0.25f, 0.80f, 0.35f);
const Vec3 thymine(0.92f, 0.30f, 0.28f);
const Vec3 guanine(0.98f, 0.80f, 0.22f);
const Vec3 cytosine(0.30f, 0.52f, 0.98f);
const Vec3 phosphate(1.00f, 0.55f, 0.12f);
const Vec3 sugar(0.92f, 0.88f, 0.78f);

}  // namespace

DnaProfile dnaProfile(int index) {
  static const Vec3 pairs[4][2] = {
      {adenine, thymine}, {guanine, cytosine}, {thymine, adenine}, {cytosine, guanine}};
  const Vec3* pair = pairs[((index % 4) + 4) % 4];
  // Shape varies from profile to profile: how far the bases turn against each other along
  // the strand (propeller twist), how much the pair bows (buckle), and the backbone's reach.
  const float twist = 0.9f * static_cast<float>((index * 7) % 10 - 4.5f);
  const float buckle = 1.6f * static_cast<float>((index * 3) % 5 - 2);
  const float reach = 34.0f + static_cast<float>(index % 3) * 1.5f;

  DnaProfile profile;
  for (int j = 0; j < dnaProfileAtoms; ++j) {
    const float s = -1 + 2 * static_cast<float>(j) / (dnaProfileAtoms - 1);  // -1 .. 1 across
    DnaAtom& atom = profile[j];
    if (j == 0 || j == dnaProfileAtoms - 1) {
      // Phosphates stand a little off the base plane, on opposite sides.
      atom.offset = Vec3(s * reach, 3.5f, -s * 2.5f);
      atom.colour = phosphate;
    } else if (j == 1 || j == dnaProfileAtoms - 2) {
      atom.offset = Vec3(s * (reach - 6.5f), 1.5f, -s * 1.5f);
      atom.colour = sugar;
    } else {
      atom.offset = Vec3(s * 26.0f, buckle * (1 - s * s), twist * s);
      atom.colour = s < 0 ? pair[0] : pair[1];
    }
  }
  return profile;
}

std::vector<std::uint8_t> encodeDnaProfile(const DnaProfile& profile) {
  BinaryWriter out;
  for (const DnaAtom& atom : profile) {
    for (float v : {atom.offset.x, atom.offset.y, atom.offset.z, atom.colour.x, atom.colour.y,
                    atom.colour.z}) {
      out.f32(v);
    }
  }
  return std::move(out.bytes());
}

bool writeDnaProfile(const char* path, const DnaProfile& profile) {
  std::string error;
  return writeFileBytes(path, encodeDnaProfile(profile), error);
}

std::vector<Vec3> strandAtomPositions(const DnaProfile& profile) {
  const Vec3 yAxis(0, 1, 0);
  Vec3 b = normalize(Vec3(0, 1, 1));
  Vec3 d(1, 0, 0);
  Vec3 f = normalize(cross(d, b));
  Vec3 v(0, 0, 40 * b.z);
  float total = 0;
  for (int i = 0; i < 9; ++i) {
    total += v.x;
    v = rotateAboutAxis(v, yAxis, 20);
  }
  Vec3 w(-total / 2, 0, 0);
  float phi = 0;
  std::vector<Vec3> atoms;
  for (int step = 0; step < 27; ++step) {
    const Vec3 g = rotateAboutAxis(d, b, phi);
    const Vec3 h = rotateAboutAxis(f, b, phi);
    for (const DnaAtom& atom : profile) {
      atoms.push_back(w + g * atom.offset.x + h * atom.offset.y + b * atom.offset.z);
    }
    w += b * 40;
    phi += 80;
    d = rotateAboutAxis(d, yAxis, 20);
    f = rotateAboutAxis(f, yAxis, 20);
    b = rotateAboutAxis(b, yAxis, 20);
  }
  return atoms;
}
