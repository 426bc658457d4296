#include "assets/tools/ase_import.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>

#include "tests/support/temp_dir.h"
#include "tools/content/ase_writer.h"
#include "tools/content/surface_mesh.h"

namespace {

// A one-triangle export with a chosen node rotation and texture-face count.
std::string oneTriangle(const char* angle, int textureFaces = 1) {
  std::string s =
      "*3DSMAX_ASCIIEXPORT\t200\n*GEOMOBJECT {\n\t*NODE_TM {\n"
      "\t\t*TM_ROTAXIS 0.0\t0.0\t1.0\n\t\t*TM_ROTANGLE " +
      std::string(angle) +
      "\n\t}\n"
      "\t*MESH {\n\t\t*MESH_NUMVERTEX 3\n\t\t*MESH_NUMFACES 1\n\t\t*MESH_VERTEX_LIST {\n"
      "\t\t\t*MESH_VERTEX 0\t0.0\t0.0\t0.0\n"
      "\t\t\t*MESH_VERTEX 1\t1.0\t0.0\t0.0\n"
      "\t\t\t*MESH_VERTEX 2\t0.0\t2.0\t0.0\n\t\t}\n"
      "\t\t*MESH_FACE_LIST {\n\t\t\t*MESH_FACE    0:    A:    0 B:    1 C:    2 AB: 1\n\t\t}\n"
      "\t\t*MESH_NUMTVERTEX 2\n\t\t*MESH_TVERTLIST {\n"
      "\t\t\t*MESH_TVERT 0\t0.25\t0.5\t0.0\n\t\t\t*MESH_TVERT 1\t1.0\t0.75\t0.0\n\t\t}\n"
      "\t\t*MESH_NUMTVFACES " +
      std::to_string(textureFaces) +
      "\n\t\t*MESH_TFACELIST {\n"
      "\t\t\t*MESH_TFACE 0\t1\t0\t1\n\t\t}\n"
      "\t\t*MESH_NORMALS {\n\t\t\t*MESH_FACENORMAL 0\t0.0\t0.0\t1.0\n"
      "\t\t\t\t*MESH_VERTEXNORMAL 0\t1.0\t0.0\t0.0\n"
      "\t\t\t\t*MESH_VERTEXNORMAL 1\t0.0\t1.0\t0.0\n"
      "\t\t\t\t*MESH_VERTEXNORMAL 2\t0.6\t0.0\t0.8\n\t\t}\n\t}\n}\n";
  return s;
}

bool parse(const std::string& text, MeshData& mesh) {
  return parseStaticAse(text.data(), text.size(), mesh);
}

class AseFiles : public ::testing::Test {
 protected:
  std::string write(const char* name, const std::string& text) { return dir.write(name, text); }
  TempDir dir;
  const std::filesystem::path& folder = dir.path;
};

}  // namespace

TEST(StaticAse, OneTriangleKeepsItsNumbersAndUnturnedNormals) {
  MeshData mesh;
  ASSERT_TRUE(parse(oneTriangle("0.0"), mesh));
  EXPECT_EQ(mesh.positions, (std::vector<float>{0, 0, 0, 1, 0, 0, 0, 2, 0}));
  EXPECT_EQ(mesh.vertexIndices, (std::vector<std::uint32_t>{0, 1, 2}));
  EXPECT_EQ(mesh.texVertexIndices, (std::vector<std::uint32_t>{1, 0, 1}));
  EXPECT_EQ(mesh.texVertices, (std::vector<float>{0.25f, 0.5f, 1.0f, 0.75f}));
  EXPECT_EQ(mesh.cornerNormals, (std::vector<float>{1, 0, 0, 0, 1, 0, 0.6f, 0, 0.8f}));
  // 12 + 12 V + 60 F + 8 T bytes.
  EXPECT_EQ(encodeDat(mesh).size(), 12u + 36 + 60 + 16);
}

TEST(StaticAse, ARotationOfPiRadiansTurnsNormalsHalfRound) {
  MeshData mesh;
  ASSERT_TRUE(parse(oneTriangle("3.14159"), mesh));
  const float expected[9] = {-1, 0, 0, 0, -1, 0, -0.6f, 0, 0.8f};
  for (int i = 0; i < 9; ++i) EXPECT_NEAR(mesh.cornerNormals[i], expected[i], 1e-5f) << i;
  // Positions are never turned.
  EXPECT_EQ(mesh.positions[3], 1.0f);
}

TEST(StaticAse, DamagedExportsAreRefused) {
  std::string text = oneTriangle("0.0");
  MeshData mesh;
  EXPECT_FALSE(parse(oneTriangle("0.0", 2), mesh)) << "texture faces differ from faces";
  EXPECT_FALSE(parse(text.substr(0, text.size() / 2), mesh)) << "cut short";
  auto replaced = [&](const std::string& from, const std::string& to) {
    std::string t = text;
    t.replace(t.find(from), from.size(), to);
    return t;
  };
  EXPECT_FALSE(parse(replaced("B:    1", "B:    3"), mesh)) << "vertex index past the end";
  EXPECT_FALSE(parse(replaced("*MESH_TFACE 0\t1", "*MESH_TFACE 0\t2"), mesh))
      << "texture index past the end";
  EXPECT_FALSE(parse(replaced("*MESH_NUMVERTEX 3", "*MESH_NUMVERTEX 3000000"), mesh))
      << "more vertices than the text can hold";
  EXPECT_FALSE(parse(replaced("\t\t*MESH_NUMFACES", "\t\t\t*MESH_NUMFACES"), mesh))
      << "a keyword behind the wrong number of tabs is not that keyword";
  EXPECT_FALSE(parse(
      replaced("1.0\t0.0\t0.0\n\t\t\t*MESH_VERTEX 2", "nan\t0.0\t0.0\n\t\t\t*MESH_VERTEX 2"), mesh))
      << "not a number";
  EXPECT_FALSE(parse("", mesh));
}

TEST_F(AseFiles, ImportWritesTheDatBesideTheSourceOnlyOnSuccess) {
  const std::string good = write("tri.ase", oneTriangle("0.0"));
  MeshData mesh;
  ASSERT_TRUE(importAse(good.c_str(), mesh));
  const std::string bytes = readFile(folder / "tri.dat");
  const std::vector<std::uint8_t> expected = encodeDat(mesh);
  EXPECT_EQ(bytes, std::string(expected.begin(), expected.end()));

  const std::string bad = write("bad.ase", oneTriangle("0.0", 3));
  EXPECT_FALSE(importAse(bad.c_str(), mesh));
  EXPECT_FALSE(std::filesystem::exists(folder / "bad.dat"));
  EXPECT_FALSE(importAse((folder / "missing.ase").c_str(), mesh));
  EXPECT_EQ(datPathFor("meshes\\mito.ase"), "meshes\\mito.dat");
  EXPECT_EQ(datPathFor("ab"), "");
}

TEST(AnimatedAse, KeyShapesTangentsAndLoopComeThrough) {
  // Ten keys of a tetrahedron that grows with the key number.
  SurfaceMesh tetra;
  tetra.positions = {Vec3(1, 1, 1), Vec3(1, -1, -1), Vec3(-1, 1, -1), Vec3(-1, -1, 1)};
  tetra.triangles = {0, 1, 2, 0, 3, 1, 0, 2, 3, 1, 3, 2};
  orientOutward(tetra);
  std::array<std::vector<Vec3>, morphKeyCount> keys;
  for (int k = 0; k < morphKeyCount; ++k) {
    for (const Vec3& p : tetra.positions) keys[k].push_back(p * (1.0f + k));
  }
  const std::string text = animatedAseText(tetra.triangles, keys, "tetra");
  MorphShapes shapes;
  ASSERT_TRUE(parseAnimatedAse(text.data(), text.size(), shapes));
  ASSERT_EQ(shapes.vertexCount, 4u);
  ASSERT_EQ(shapes.indices.size(), 12u);
  EXPECT_EQ(shapes.keyPositions[3][0], 4.0f);
  // Key 0's tangent is half the way from key 9 to key 1: (2 - 10) / 2 times the vertex.
  EXPECT_FLOAT_EQ(shapes.keyPositionTangents[0][0], -4.0f);
  // Key 9 leads back into key 0: (1 - 9) / 2.
  EXPECT_FLOAT_EQ(shapes.keyPositionTangents[9][0], -4.0f);
  EXPECT_FLOAT_EQ(shapes.keyPositionTangents[4][0], 1.0f);
  // The initial shape is key 0; texture coordinates are x and z of its direction.
  EXPECT_EQ(shapes.positions, shapes.keyPositions[0]);
  EXPECT_NEAR(shapes.texCoords[2], 1 / std::sqrt(3.0f), 1e-5f);
  EXPECT_NEAR(shapes.texCoords[3], -1 / std::sqrt(3.0f), 1e-5f);
  // Normals point away from the centre in every key.
  for (int k = 0; k < morphKeyCount; ++k) {
    for (int v = 0; v < 4; ++v) {
      const float* n = &shapes.keyNormals[k][3 * v];
      const float* p = &shapes.keyPositions[k][3 * v];
      EXPECT_GT(n[0] * p[0] + n[1] * p[1] + n[2] * p[2], 0.0f);
    }
  }
  // 12 + 512 V + 4 I bytes.
  EXPECT_EQ(encodeTrk(shapes).size(), 12u + 512 * 4 + 4 * 12);

  MorphShapes cut;
  EXPECT_FALSE(parseAnimatedAse(text.data(), text.size() * 9 / 10, cut)) << "last key missing";
}

TEST(AnimatedAse, AVertexNormalNamingAMissingVertexIsRefused) {
  SurfaceMesh tetra;
  tetra.positions = {Vec3(1, 1, 1), Vec3(1, -1, -1), Vec3(-1, 1, -1), Vec3(-1, -1, 1)};
  tetra.triangles = {0, 1, 2, 0, 3, 1, 0, 2, 3, 1, 3, 2};
  std::array<std::vector<Vec3>, morphKeyCount> keys;
  keys.fill(tetra.positions);
  std::string text = animatedAseText(tetra.triangles, keys, "tetra");
  const std::string line = "\t\t\t\t\t*MESH_VERTEXNORMAL 2\t";
  text.replace(text.rfind(line), line.size(), "\t\t\t\t\t*MESH_VERTEXNORMAL 9\t");
  MorphShapes shapes;
  EXPECT_FALSE(parseAnimatedAse(text.data(), text.size(), shapes));
}
