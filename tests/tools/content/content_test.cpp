// Checks the generated content as the saver will read it: every entry of the archive table
// exists with a consistent layout, the shapes have the sizes the scenes assume, and every
// camera script reads through the saver's own track reader and stays clear of what it flies by.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "anim/key_track.h"
#include "assets/asset_buffer.h"
#include "assets/mesh_model.h"
#include "assets/morph_mesh.h"
#include "assets/tools/ase_import.h"
#include "tests/support/temp_dir.h"

namespace {

const std::string contentDir = std::string(PLASMORA_BINARY_DIR) + "/content/";

std::vector<std::uint8_t> entry(const std::string& name) {
  EXPECT_TRUE(std::filesystem::exists(contentDir + name)) << name << " missing";
  const std::string bytes = readFile(contentDir + name);
  return std::vector<std::uint8_t>(bytes.begin(), bytes.end());
}

std::uint32_t word(const std::vector<std::uint8_t>& b, std::size_t offset) {
  std::uint32_t v = 0;
  if (offset + 4 <= b.size()) std::memcpy(&v, &b[offset], 4);
  return v;
}

float number(const std::vector<std::uint8_t>& b, std::size_t offset) {
  float v = 0;
  if (offset + 4 <= b.size()) std::memcpy(&v, &b[offset], 4);
  return v;
}

Vec3 vec(const std::vector<std::uint8_t>& b, std::size_t offset) {
  return Vec3(number(b, offset), number(b, offset + 4), number(b, offset + 8));
}

// Distance from p to the nearest copy of a point of the 300-unit periodic field.
float periodicDistance(Vec3 p, Vec3 home) {
  auto wrap = [](float d) { return d - 300 * std::round(d / 300); };
  const Vec3 d = p - home;
  return length(Vec3(wrap(d.x), wrap(d.y), wrap(d.z)));
}

struct Cells {
  std::vector<Vec3> homes;
};

Cells readCells() {
  Cells cells;
  const std::vector<std::uint8_t> b = entry("reg_cells.dat");
  const std::uint32_t n = word(b, 0);
  EXPECT_EQ(b.size(), 4u + 28u * n);
  for (std::uint32_t i = 0; i < n && 4 + 28 * (i + 1) <= b.size(); ++i) {
    cells.homes.push_back(vec(b, 4 + 28 * i));
  }
  return cells;
}

bool readScript(const std::string& name, KeyTrack& track) {
  const std::vector<std::uint8_t> text = entry(name);
  AssetBuffer buffer;
  buffer.openFromMemory(text.data(), static_cast<std::uint32_t>(text.size()));
  track.read(buffer);
  return track.prepare();
}

// Samples a script about every frame (50 per second on screen) and checks what any camera
// path must satisfy; `place` checks each position for the scene.
template <typename Place>
void checkScript(const std::string& name, float rate, float minWall, float maxWall, Place place) {
  SCOPED_TRACE(name);
  KeyTrack track;
  ASSERT_TRUE(readScript(name, track));
  ASSERT_GE(track.size(), 2u);
  EXPECT_EQ(track.key(0).time, 0.0f);
  for (std::size_t i = 0; i < track.size(); ++i) {
    const Quat& q = track.key(i).rotation;
    EXPECT_NEAR(q.x * q.x + q.y * q.y + q.z * q.z + q.w * q.w, 1.0f, 1e-4f) << "key " << i;
    if (i > 0) {
      EXPECT_GT(track.key(i).time, track.key(i - 1).time);
    }
  }
  const float duration = track.lastKey().time;
  EXPECT_GE(duration / rate, minWall);
  EXPECT_LE(duration / rate, maxWall);
  Vec3 lastView(0, 0, 0);
  const float step = 0.02f * rate;
  for (float t = 0; t < duration; t += step) {
    KeySegment segment;
    ASSERT_TRUE(track.findSegment(t, segment)) << t;
    const KeySample s = KeyTrack::sample(segment, t);
    ASSERT_TRUE(s.rotationValid);
    const Matrix4 m = toMatrix(s.rotation);
    const Vec3 view(m[0], m[4], m[8]), up(m[2], m[6], m[10]);
    EXPECT_NEAR(length(view), 1.0f, 0.01f);
    EXPECT_NEAR(dot(view, up), 0.0f, 0.01f);
    if (t > 0) {
      // No faster than half a turn in three seconds on screen.
      EXPECT_GT(dot(view, lastView), std::cos(60.0f * 3.14159f / 180 * 0.02f)) << "jerk at " << t;
    }
    lastView = view;
    if (!place(s.position)) {
      ADD_FAILURE() << "position (" << s.position.x << ", " << s.position.y << ", " << s.position.z
                    << ") at t = " << t << " is not allowed";
      return;
    }
  }
}

class Content : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!std::filesystem::exists(contentDir)) {
      FAIL() << "no generated content in " << contentDir << " (build the content target)";
    }
  }
};

}  // namespace

TEST_F(Content, RigidMeshesHaveConsistentLayoutsAndTheirSizes) {
  const struct {
    const char* name;
    float minExtent, maxExtent;  // largest distance of a vertex from the origin
    std::uint32_t maxTriangles;
  } meshes[] = {{"meshes/sphere.dat", 6.9f, 7.1f, 120},
                {"meshes/lows.dat", 10.9f, 11.1f, 100},
                {"meshes/mito.dat", 2.4f, 3.2f, 150},
                {"meshes/ribo.dat", 5.5f, 8.5f, 150},
                {"meshes/chrom.dat", 14.5f, 19.0f, 200}};
  for (const auto& m : meshes) {
    SCOPED_TRACE(m.name);
    const std::vector<std::uint8_t> b = entry(m.name);
    const std::uint32_t v = word(b, 0), f = word(b, 4), t = word(b, 8);
    ASSERT_EQ(b.size(), 12u + 12u * v + 60u * f + 8u * t);
    EXPECT_GE(f, 40u);
    EXPECT_LE(f, m.maxTriangles);
    float extent = 0;
    Vec3 centre(0, 0, 0);
    for (std::uint32_t i = 0; i < v; ++i) {
      extent = std::fmax(extent, length(vec(b, 12 + 12 * i)));
      centre += vec(b, 12 + 12 * i) / static_cast<float>(v);
    }
    EXPECT_GE(extent, m.minExtent);
    EXPECT_LE(extent, m.maxExtent);
    const std::size_t faces = 12 + 12 * v, texFaces = faces + 12 * f, texVerts = texFaces + 12 * f;
    const std::size_t normals = texVerts + 8 * t;
    int outward = 0;
    for (std::uint32_t i = 0; i < f; ++i) {
      for (int c = 0; c < 3; ++c) {
        ASSERT_LT(word(b, faces + 12 * i + 4 * c), v);
        ASSERT_LT(word(b, texFaces + 12 * i + 4 * c), t);
        const Vec3 n = vec(b, normals + 36 * i + 12 * c);
        EXPECT_NEAR(length(n), 1.0f, 1e-3f);
      }
      // Front faces (counter-clockwise) look away from the body.
      const Vec3 a = vec(b, 12 + 12 * word(b, faces + 12 * i));
      const Vec3 bb = vec(b, 12 + 12 * word(b, faces + 12 * i + 4));
      const Vec3 c = vec(b, 12 + 12 * word(b, faces + 12 * i + 8));
      if (dot(cross(bb - a, c - a), (a + bb + c) / 3 - centre) > 0) ++outward;
    }
    EXPECT_GT(outward, static_cast<int>(f * 9 / 10));
  }
}

TEST_F(Content, MorphMeshesLoopAroundTheirRadius) {
  const struct {
    const char* name;
    float radius;
    std::uint32_t minVertices, maxVertices;
  } morphs[] = {{"animation/cell.trk", 25, 700, 1300},
                {"animation/lcell.trk", 25, 250, 450},
                {"animation/core.trk", 20, 1200, 2000},
                {"animation/lcore.trk", 20, 400, 700}};
  for (const auto& m : morphs) {
    SCOPED_TRACE(m.name);
    const std::vector<std::uint8_t> b = entry(m.name);
    const std::uint32_t v = word(b, 0), k = word(b, 4), indexCount = word(b, 8);
    ASSERT_EQ(b.size(), 12u + 512u * v + 4u * indexCount);
    EXPECT_EQ(indexCount, 3 * k);
    EXPECT_GE(v, m.minVertices);
    EXPECT_LE(v, m.maxVertices);
    const std::size_t keys = 12 + 32 * v + 4 * indexCount;
    const std::size_t tangents = keys + 240 * v;
    float low = 1e9f, high = 0;
    float largestChange = 0;
    for (int key = 0; key < 10; ++key) {
      for (std::uint32_t i = 0; i < v; ++i) {
        const float r = length(vec(b, keys + 24 * v * key + 12 * i));
        low = std::fmin(low, r);
        high = std::fmax(high, r);
        const int next = (key + 1) % 10;
        const float step =
            length(vec(b, keys + 24 * v * next + 12 * i) - vec(b, keys + 24 * v * key + 12 * i));
        largestChange = std::fmax(largestChange, step);
      }
    }
    EXPECT_GT(low, m.radius * 0.8f);
    EXPECT_LT(high, m.radius * 1.2f);
    // It moves, and key 9 runs into key 0 as smoothly as any other pair of keys.
    EXPECT_GT(largestChange, 0.2f);
    EXPECT_LT(largestChange, m.radius * 0.1f);
    // The tangent at key 0 is half the way from key 9 to key 1.
    const Vec3 expected = (vec(b, keys + 24 * v * 1) - vec(b, keys + 24 * v * 9)) * 0.5f;
    const Vec3 tangent = vec(b, tangents);
    EXPECT_NEAR(length(tangent - expected), 0.0f, 1e-4f);
  }
}

TEST_F(Content, MeshEntriesLoadThroughTheSaversParsers) {
  for (const char* name : {"meshes/sphere.dat", "meshes/lows.dat", "meshes/mito.dat",
                           "meshes/ribo.dat", "meshes/chrom.dat"}) {
    const std::vector<std::uint8_t> b = entry(name);
    MeshData mesh;
    EXPECT_TRUE(parseMeshData(b.data(), b.size(), mesh)) << name;
    EXPECT_EQ(mesh.triangleCount, word(b, 4)) << name;
  }
  for (const char* name :
       {"animation/cell.trk", "animation/lcell.trk", "animation/core.trk", "animation/lcore.trk"}) {
    const std::vector<std::uint8_t> b = entry(name);
    MorphMesh mesh;
    EXPECT_TRUE(mesh.parse(b.data(), b.size())) << name;
    EXPECT_EQ(mesh.vertexCount, word(b, 0)) << name;
  }
}

TEST_F(Content, CellsFillOneLatticePeriod) {
  const Cells cells = readCells();
  ASSERT_EQ(cells.homes.size(), 64u);
  for (const Vec3& h : cells.homes) {
    for (float c : {h.x, h.y, h.z}) {
      EXPECT_GE(c, -150.0f);
      EXPECT_LE(c, 150.0f);
    }
  }
  const std::vector<std::uint8_t> b = entry("reg_cells.dat");
  for (std::size_t i = 0; i < cells.homes.size(); ++i) {
    EXPECT_NEAR(length(vec(b, 16 + 28 * i)), 1.0f, 1e-4f) << "axis of cell " << i;
    const float angle = number(b, 28 + 28 * i);
    EXPECT_GE(angle, 0.0f);
    EXPECT_LE(angle, 360.0f);
  }
}

TEST_F(Content, StrandProfilesAreBasePairsBetweenTheirBackbones) {
  for (int i = 0; i < 10; ++i) {
    SCOPED_TRACE(i);
    const std::vector<std::uint8_t> b = entry("dna" + std::to_string(i) + ".dat");
    ASSERT_EQ(b.size(), 288u);
    for (int j = 0; j < 12; ++j) {
      const Vec3 colour = vec(b, 24 * j + 12);
      for (float c : {colour.x, colour.y, colour.z}) {
        EXPECT_GE(c, 0.0f);
        EXPECT_LE(c, 1.0f);
      }
      if (j > 0) {
        EXPECT_GT(number(b, 24 * j), number(b, 24 * (j - 1))) << "atoms run across";
      }
    }
    // The two ends are the backbone and share a colour; the middle pairs two bases.
    EXPECT_EQ(vec(b, 12).x, vec(b, 24 * 11 + 12).x);
    EXPECT_NE(vec(b, 24 * 4 + 12).x + vec(b, 24 * 4 + 12).y,
              vec(b, 24 * 7 + 12).x + vec(b, 24 * 7 + 12).y);
  }
}

TEST_F(Content, CellFlightsAvoidEveryBodyAndEndInsideACell) {
  const Cells cells = readCells();
  ASSERT_FALSE(cells.homes.empty());
  for (int i = 0; i <= 10; ++i) {
    const std::string name = "scenes/cells/scene" + std::to_string(i) + ".txt";
    // Bodies (radius 5.6) and the mitochondria circling them stay out of the way.
    checkScript(name, 3, 20, 40, [&](Vec3 p) {
      for (const Vec3& h : cells.homes) {
        if (periodicDistance(p, h) < 10) return false;
      }
      return true;
    });
    KeyTrack track;
    ASSERT_TRUE(readScript(name, track));
    const Vec3 end = track.lastKey().position;
    std::vector<float> distances;
    for (const Vec3& h : cells.homes) distances.push_back(periodicDistance(end, h));
    std::sort(distances.begin(), distances.end());
    EXPECT_LT(distances[0], 20.0f) << name << " ends outside every membrane";
    EXPECT_GT(distances[1], 30.0f) << name << " ends where two cells overlap";
  }
}

TEST_F(Content, NucleusFlightsStayInTheParticleCloudOutsideTheBody) {
  for (int i = 0; i <= 2; ++i) {
    checkScript("scenes/core/scene" + std::to_string(i) + ".txt", 2, 20, 40, [](Vec3 p) {
      // Body radius about 20 drawn at scale 10; the background shell's far side (radius
      // 990) must stay inside the far plane at 1900.
      return length(p) > 250 && length(p - Vec3(0, 230, 0)) + 990 < 1900;
    });
  }
}

TEST_F(Content, StrandFlightsShowTheReplicationFromOutsideBothCopies) {
  for (int i = 0; i <= 5; ++i) {
    checkScript("scenes/dna/scene" + std::to_string(i) + ".txt", 1, 35, 45, [](Vec3 p) {
      if (length(p - Vec3(0, 230, 0)) + 990 >= 1900) return false;
      // The copies spin round vertical axes at x = -300 and 300 and reach about 160 from them.
      const bool alongside = p.y > -60 && p.y < 840;
      return !alongside || (std::hypot(p.x + 300, p.z) > 180 && std::hypot(p.x - 300, p.z) > 180);
    });
  }
}
