// Reading .dat and .trk entries: layouts, hostile counts and indices, and the morph blending.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "assets/mesh_model.h"
#include "assets/morph_mesh.h"
#include "platform/gl_entry_points.h"
#include "tests/assets/mesh_bytes.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

DatMesh twoTriangles() {
  DatMesh m;
  m.positions = {0, 0, 0, 1, 0, 0, 0, 1, 0, 1, 1, 0};
  m.vertexIndices = {0, 1, 2, 2, 1, 3};
  m.texIndices = {0, 1, 2, 4, 3, 1};
  m.texVertices = {0.1f, 0.2f, 0.3f, 0.4f, 0.5f, 0.6f, 0.7f, 0.8f, 0.9f, 1.0f};
  for (int i = 0; i < 18; ++i) m.normals.push_back(static_cast<float>(i));
  return m;
}

TEST(MeshData, ReadsTheArraysInLayoutOrder) {
  const DatMesh source = twoTriangles();
  const Bytes file = source.bytes();
  ASSERT_EQ(file.size(), 12u + 12 * 4 + 60 * 2 + 8 * 5);
  MeshData mesh;
  ASSERT_TRUE(parseMeshData(file.data(), file.size(), mesh));
  EXPECT_EQ(mesh.vertexCount, 4u);
  EXPECT_EQ(mesh.triangleCount, 2u);
  EXPECT_EQ(mesh.texVertexCount, 5u);
  EXPECT_EQ(mesh.positions, source.positions);
  EXPECT_EQ(mesh.vertexIndices, source.vertexIndices);
  EXPECT_EQ(mesh.texVertexIndices, source.texIndices);
  EXPECT_EQ(mesh.texVertices, source.texVertices);
  EXPECT_EQ(mesh.cornerNormals, source.normals);
}

TEST(MeshData, ShortEntriesWrappingCountsAndStrayIndicesFail) {
  const Bytes file = twoTriangles().bytes();
  MeshData mesh;
  for (std::size_t n = 0; n < file.size(); ++n) {
    const Bytes cut(file.begin(), file.begin() + n);
    EXPECT_FALSE(parseMeshData(cut.data(), cut.size(), mesh)) << n;
    EXPECT_TRUE(mesh.positions.empty());
  }
  // Counts whose sizes wrap to small numbers in 32-bit arithmetic.
  const std::uint32_t wrapping[4][3] = {{0x15555556u, 0, 0},
                                        {0, 0x04444445u, 0},
                                        {0, 0, 0x20000000u},
                                        {0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu}};
  for (const auto& counts : wrapping) {
    ByteWriter w;
    for (std::uint32_t c : counts) w.u32(c);
    w.bytes.resize(4096);
    EXPECT_FALSE(parseMeshData(w.bytes.data(), w.bytes.size(), mesh));
  }
  DatMesh badVertex = twoTriangles();
  badVertex.vertexIndices[4] = 4;
  Bytes bad = badVertex.bytes();
  EXPECT_FALSE(parseMeshData(bad.data(), bad.size(), mesh));
  DatMesh badTexture = twoTriangles();
  badTexture.texIndices[5] = 5;
  bad = badTexture.bytes();
  EXPECT_FALSE(parseMeshData(bad.data(), bad.size(), mesh));
}

class MorphBlend : public testing::Test {
 protected:
  void SetUp() override { clearGlEntryPoints(); }

  // One vertex whose key k sits at (k, 10k, 0) with normal (0, 0, 1 + k); tangents as given.
  static TrkMesh oneVertex(float tangent) {
    TrkMesh t(1, {0, 0, 0});
    for (int k = 0; k < 10; ++k) {
      t.keyPositions[k] = {float(k), 10.0f * k, 0};
      t.keyNormals[k] = {0, 0, 1.0f + k};
      t.positionTangents[k] = {tangent, 0, 0};
    }
    return t;
  }

  static void load(MorphMesh& mesh, const TrkMesh& t) {
    const Bytes file = t.bytes();
    ASSERT_TRUE(mesh.parse(file.data(), file.size()));
  }
};

TEST_F(MorphBlend, PhaseZeroIsKeyZeroExactly) {
  MorphMesh mesh;
  TrkMesh t = oneVertex(5.0f);
  t.keyPositions[0] = {0.3f, -1.7f, 2.9f};
  load(mesh, t);
  mesh.advance(0.25f);
  EXPECT_EQ(mesh.positions, (std::vector<float>{0.3f, -1.7f, 2.9f}));
  EXPECT_EQ(mesh.normals, (std::vector<float>{0, 0, 1}));
  EXPECT_FLOAT_EQ(mesh.phase, 0.25f);
}

TEST_F(MorphBlend, NinePointFiveBlendsKeyNineIntoKeyZero) {
  MorphMesh mesh;
  load(mesh, oneVertex(4.0f));
  mesh.phase = 9.5f;
  mesh.advance(0.0f);
  // H(9, 0, 4, 4, 0.5) = 0.5 * 9 + 0.125 * 4 + 0.5 * 0 - 0.125 * 4.
  EXPECT_FLOAT_EQ(mesh.positions[0], 4.5f);
  EXPECT_FLOAT_EQ(mesh.positions[1], 45.0f);
  EXPECT_FLOAT_EQ(mesh.normals[2], 5.5f);
  // The interleaved copy carries the same values, then the texture coordinates.
  EXPECT_FLOAT_EQ(mesh.interleaved[0], 4.5f);
  EXPECT_FLOAT_EQ(mesh.interleaved[5], 5.5f);

  mesh.phase = 2.25f;
  mesh.advance(0.0f);
  const float t = 0.25f;
  const float expected = (2 * t * t * t - 3 * t * t + 1) * 2 + (t * t * t - 2 * t * t + t) * 4 +
                         (-2 * t * t * t + 3 * t * t) * 3 + (t * t * t - t * t) * 4;
  EXPECT_FLOAT_EQ(mesh.positions[0], expected);
}

TEST_F(MorphBlend, ThePhaseWrapsToZeroWithoutCarry) {
  MorphMesh mesh;
  load(mesh, oneVertex(0.0f));
  mesh.phase = 9.9f;
  mesh.advance(0.3f);
  EXPECT_EQ(mesh.phase, 0.0f);
  mesh.advance(9.99f);
  EXPECT_FLOAT_EQ(mesh.phase, 9.99f);
  // A phase nobody should have set starts the loop again instead of indexing past the keys.
  for (float odd : {-3.0f, 10.0f, 1e30f, NAN}) {
    mesh.phase = odd;
    mesh.advance(0.5f);
    EXPECT_EQ(mesh.positions[0], 0.0f);
    EXPECT_FLOAT_EQ(mesh.phase, 0.5f);
  }
}

TEST_F(MorphBlend, TextureCoordinatesFollowTheShapeAndStayFinite) {
  TrkMesh t(2, {0, 1, 1});
  for (int k = 0; k < 10; ++k) {
    t.keyPositions[k] = {3, 0, 0, 1, 1, 0};
    t.keyNormals[k] = {0, 4, 0, -1, -1, 0};  // the second vertex sums to zero
  }
  MorphMesh mesh;
  load(mesh, t);
  mesh.advance(0.1f);
  EXPECT_FLOAT_EQ(mesh.texCoords[0], 0.3f);
  EXPECT_FLOAT_EQ(mesh.texCoords[1], 0.4f);
  EXPECT_EQ(mesh.texCoords[2], 0.0f);
  EXPECT_EQ(mesh.texCoords[3], 0.0f);
  EXPECT_FLOAT_EQ(mesh.interleaved[6], 0.3f);
  EXPECT_EQ(mesh.interleaved[14], 0.0f);
}

TEST_F(MorphBlend, LoadingKeepsTheInitialShapeInterleaved) {
  TrkMesh t(1, {0, 0, 0});
  t.positions = {1, 2, 3};
  t.normals = {4, 5, 6};
  t.texCoords = {7, 8};
  MorphMesh mesh;
  load(mesh, t);
  EXPECT_EQ(mesh.interleaved, (std::vector<float>{1, 2, 3, 4, 5, 6, 7, 8}));
  EXPECT_EQ(mesh.vertexCount, 1u);
  EXPECT_EQ(mesh.triangleCount, 1u);
  EXPECT_EQ(mesh.indexCount, 3u);
  EXPECT_EQ(mesh.phase, 0.0f);
}

TEST(MorphMeshEntry, ShortOrCorruptEntriesFailAndLeaveNothingToDraw) {
  clearGlEntryPoints();
  TrkMesh t(3, {0, 1, 2, 2, 1, 0});
  const Bytes file = t.bytes();
  ASSERT_EQ(file.size(), 12u + 512 * 3 + 4 * 6);
  MorphMesh mesh;
  ASSERT_TRUE(mesh.parse(file.data(), file.size()));
  for (std::size_t n = 0; n < file.size(); n += 7) {
    const Bytes cut(file.begin(), file.begin() + n);
    EXPECT_FALSE(mesh.parse(cut.data(), cut.size())) << n;
    EXPECT_EQ(mesh.indexCount, 0u);
    EXPECT_EQ(mesh.vertexCount, 0u);
  }
  // More indices than three per triangle would overrun the index array.
  Bytes tooMany = file;
  tooMany[4] = 1;
  EXPECT_FALSE(mesh.parse(tooMany.data(), tooMany.size()));
  // An index outside the vertices.
  TrkMesh stray = t;
  stray.indices[3] = 3;
  const Bytes strayFile = stray.bytes();
  EXPECT_FALSE(mesh.parse(strayFile.data(), strayFile.size()));
  // Counts whose sizes wrap in 32 bits.
  for (std::uint32_t v : {0x00800000u, 0x80000001u, 0xFFFFFFFFu}) {
    ByteWriter w;
    w.u32(v);
    w.u32(0x55555556u);
    w.u32(0x40000000u);
    w.bytes.resize(8192);
    EXPECT_FALSE(mesh.parse(w.bytes.data(), w.bytes.size())) << v;
  }
  mesh.advance(0.5f);  // harmless on an empty mesh
  EXPECT_TRUE(mesh.positions.empty());
}

}  // namespace
