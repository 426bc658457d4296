// The imports into the saver's mesh objects, with a current off-screen context.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "assets/asset_buffer.h"
#include "assets/mesh_model.h"
#include "assets/morph_mesh.h"
#include "assets/tools/ase_import.h"
#include "tests/support/gl_test.h"
#include "tests/support/temp_dir.h"
#include "tools/content/ase_writer.h"

namespace {

const char* triangleAse =
    "*GEOMOBJECT {\n\t*NODE_TM {\n\t\t*TM_ROTAXIS 0 0 1\n\t\t*TM_ROTANGLE 0\n\t}\n"
    "\t*MESH {\n\t\t*MESH_NUMVERTEX 3\n\t\t*MESH_NUMFACES 1\n"
    "\t\t\t*MESH_VERTEX 0 0 0 0\n\t\t\t*MESH_VERTEX 1 1 0 0\n\t\t\t*MESH_VERTEX 2 0 1 0\n"
    "\t\t\t*MESH_FACE 0:    A: 0 B: 1 C: 2\n"
    "\t\t*MESH_NUMTVERTEX 1\n\t\t\t*MESH_TVERT 0 0 0 0\n"
    "\t\t*MESH_NUMTVFACES 1\n\t\t\t*MESH_TFACE 0 0 0 0\n"
    "\t\t\t*MESH_FACENORMAL 0 0 0 1\n"
    "\t\t\t\t*MESH_VERTEXNORMAL 0 0 0 1\n\t\t\t\t*MESH_VERTEXNORMAL 1 0 0 1\n"
    "\t\t\t\t*MESH_VERTEXNORMAL 2 0 0 1\n\t}\n}\n";

class AseGl : public GlTest {
 protected:
  std::string write(const char* name, const std::string& text) { return dir.write(name, text); }
  // White, unlit, in a -1..1 square.
  void drawList(GLuint list) {
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-1, 1, -1, 1, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_DEPTH_TEST);
    glColor3f(1, 1, 1);
    glCallList(list);
    readPixels();
  }
  TempDir dir;
  const std::filesystem::path& folder = dir.path;
};

}  // namespace

TEST_F(AseGl, StaticImportCompilesTheListTheDatWouldGive) {
  const std::string source = write("tri.ase", triangleAse);
  MeshModel imported;
  ASSERT_TRUE(importAse(imported, source.c_str()));
  ASSERT_NE(imported.list, 0u);
  drawList(imported.list);
  EXPECT_EQ(pixel(40, 40)[0], 255) << "inside the triangle";
  EXPECT_EQ(pixel(16, 16)[0], 0) << "outside it";
  const std::vector<std::uint8_t> fromImport(readPixels());

  // The written file loads through the saver's loader into the same picture.
  const std::string bytes = readFile(folder / "tri.dat");
  AssetBuffer entry;
  ASSERT_TRUE(entry.openFromMemory(reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                   static_cast<std::uint32_t>(bytes.size())));
  MeshModel loaded;
  ASSERT_TRUE(loaded.loadEntry(entry));
  drawList(loaded.list);
  EXPECT_EQ(readPixels(), fromImport);

  MeshModel missing;
  EXPECT_FALSE(importAse(missing, (folder / "none.ase").c_str()));
  EXPECT_EQ(missing.list, 0u);
}

TEST_F(AseGl, AnimatedImportFillsTheMorphMeshAndWritesItBack) {
  SurfaceMesh tetra;
  tetra.positions = {Vec3(1, 1, 1), Vec3(1, -1, -1), Vec3(-1, 1, -1), Vec3(-1, -1, 1)};
  tetra.triangles = {0, 1, 2, 0, 3, 1, 0, 2, 3, 1, 3, 2};
  std::array<std::vector<Vec3>, morphKeyCount> keys;
  for (int k = 0; k < morphKeyCount; ++k) {
    for (const Vec3& p : tetra.positions) keys[k].push_back(p * (2.0f + (k % 3)));
  }
  const std::string source = write("tetra.ase", animatedAseText(tetra.triangles, keys, "t"));
  MorphMesh mesh;
  ASSERT_TRUE(importAnimatedAse(mesh, source.c_str()));
  EXPECT_EQ(mesh.vertexCount, 4u);
  EXPECT_EQ(mesh.indexCount, 12u);
  EXPECT_EQ(mesh.keyPositions[2][0], 4.0f);

  const std::string written = (folder / "tetra.trk").string();
  ASSERT_TRUE(writeTrk(written.c_str(), mesh));
  MorphShapes shapes;
  ASSERT_TRUE(importAnimatedAse(source.c_str(), shapes));
  const std::string bytes = readFile(written);
  const std::vector<std::uint8_t> expected = encodeTrk(shapes);
  EXPECT_EQ(bytes, std::string(expected.begin(), expected.end()));
}
