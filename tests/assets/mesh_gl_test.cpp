// Meshes drawn in a real context: the rigid mesh's display list holds exactly its triangles
// with the stored normals and texture coordinates; the morph mesh draws the same picture
// from buffer objects and from client arrays.
#include <GL/gl.h>
#include <GL/glext.h>

#include <cstdint>
#include <vector>

#include "assets/asset_buffer.h"
#include "assets/mesh_model.h"
#include "assets/morph_mesh.h"
#include "platform/gl_entry_points.h"
#include "platform/offscreen_context.h"
#include "tests/assets/mesh_bytes.h"
#include "tests/support/gl_test.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

bool openBytes(AssetBuffer& entry, const Bytes& file) {
  return entry.openFromMemory(file.data(), static_cast<std::uint32_t>(file.size()));
}

// One triangle over the lower left half of the view; corner b faces away from the light.
DatMesh oneTriangle() {
  DatMesh m;
  m.positions = {-1, -1, -1, 1, -1, -1, -1, 1, -1};
  m.vertexIndices = {0, 1, 2};
  m.texIndices = {2, 0, 1};
  m.texVertices = {0.25f, 0.5f, 0.75f, 1.0f, 0.125f, 0.0f};
  m.normals = {0, 0, 1, 0, 0, -1, 0, 0, 1};
  return m;
}

struct FeedbackVertex {
  float x, y, s, t;
};

// Runs the list in feedback mode and returns its polygons' vertices.
std::vector<std::vector<FeedbackVertex>> feedback(std::uint32_t list) {
  std::vector<GLfloat> buffer(4096);
  glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_3D_COLOR_TEXTURE, buffer.data());
  glRenderMode(GL_FEEDBACK);
  glCallList(list);
  const GLint count = glRenderMode(GL_RENDER);
  std::vector<std::vector<FeedbackVertex>> polygons;
  for (GLint i = 0; i < count;) {
    const auto token = static_cast<GLenum>(buffer[i++]);
    if (token != GL_POLYGON_TOKEN) {
      ADD_FAILURE() << "unexpected feedback token " << token;
      break;
    }
    const int n = static_cast<int>(buffer[i++]);
    std::vector<FeedbackVertex> polygon;
    for (int v = 0; v < n; ++v, i += 11)
      polygon.push_back({buffer[i], buffer[i + 1], buffer[i + 7], buffer[i + 8]});
    polygons.push_back(polygon);
  }
  return polygons;
}

class MeshGl : public GlTest {
 protected:
  void SetUp() override {
    GlTest::SetUp();
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-1, 1, -1, 1, 0, 10);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    const GLfloat atEye[4] = {0, 0, 0, 1};
    const GLfloat white[4] = {1, 1, 1, 1};
    glLightfv(GL_LIGHT1, GL_POSITION, atEye);
    glLightfv(GL_LIGHT1, GL_DIFFUSE, white);
    glEnable(GL_LIGHT1);
  }
};

TEST_F(MeshGl, AOneTriangleMeshCompilesExactlyThatTriangle) {
  AssetBuffer entry;
  ASSERT_TRUE(openBytes(entry, oneTriangle().bytes()));
  MeshModel mesh;
  ASSERT_TRUE(mesh.loadEntry(entry));
  ASSERT_NE(mesh.list, 0u);
  EXPECT_EQ(entry.data, nullptr);
  EXPECT_EQ(readPixel(4, 4)[0], 0) << "compiled only, not drawn";

  const auto polygons = feedback(mesh.list);
  ASSERT_EQ(polygons.size(), 1u);
  ASSERT_EQ(polygons[0].size(), 3u);
  const FeedbackVertex want[3] = {{0, 0, 0.125f, 0.0f}, {64, 0, 0.25f, 0.5f}, {0, 64, 0.75f, 1.0f}};
  for (int i = 0; i < 3; ++i) {
    EXPECT_NEAR(polygons[0][i].x, want[i].x, 0.01f) << i;
    EXPECT_NEAR(polygons[0][i].y, want[i].y, 0.01f) << i;
    EXPECT_FLOAT_EQ(polygons[0][i].s, want[i].s) << i;
    EXPECT_FLOAT_EQ(polygons[0][i].t, want[i].t) << i;
  }

  // Lighting shows the corner normals: a faces the light, b faces away.
  glEnable(GL_LIGHTING);
  glCallList(mesh.list);
  glDisable(GL_LIGHTING);
  readPixels();
  EXPECT_GT(pixel(3, 3)[0], 90);
  EXPECT_LT(pixel(58, 3)[0], 40);
  EXPECT_GT(pixel(3, 58)[0], 90);
  EXPECT_EQ(pixel(40, 40)[3], 0) << "nothing outside the one triangle";
}

TEST_F(MeshGl, VertexAndTextureIndicesAreIndependent) {
  DatMesh m;
  m.positions = {-1, -1, -1, 1, -1, -1, -1, 1, -1, 1, 1, -1};
  m.vertexIndices = {0, 1, 2, 0, 3, 2};
  m.texIndices = {0, 1, 2, 3, 1, 2};
  m.texVertices = {0.0f, 0.0f, 0.5f, 0.0f, 0.0f, 0.5f, 0.9f, 0.8f};
  m.normals.assign(18, 0.0f);
  AssetBuffer entry;
  ASSERT_TRUE(openBytes(entry, m.bytes()));
  MeshModel mesh;
  ASSERT_TRUE(mesh.loadEntry(entry));
  const auto polygons = feedback(mesh.list);
  ASSERT_EQ(polygons.size(), 2u);
  // Vertex 0 starts both triangles, with a different texture vertex in each.
  EXPECT_NEAR(polygons[0][0].x, 0.0f, 0.01f);
  EXPECT_NEAR(polygons[1][0].x, 0.0f, 0.01f);
  EXPECT_FLOAT_EQ(polygons[0][0].s, 0.0f);
  EXPECT_FLOAT_EQ(polygons[1][0].s, 0.9f);
  EXPECT_FLOAT_EQ(polygons[1][0].t, 0.8f);
}

TEST_F(MeshGl, ABrokenEntryMakesNoList) {
  DatMesh m = oneTriangle();
  m.vertexIndices[2] = 3;
  AssetBuffer entry;
  ASSERT_TRUE(openBytes(entry, m.bytes()));
  MeshModel mesh;
  EXPECT_FALSE(mesh.loadEntry(entry));
  EXPECT_EQ(mesh.list, 0u);
  Bytes cut = oneTriangle().bytes();
  cut.pop_back();
  ASSERT_TRUE(openBytes(entry, cut));
  EXPECT_FALSE(mesh.loadEntry(entry));
  EXPECT_EQ(mesh.list, 0u);
  EXPECT_FALSE(mesh.load("meshes\\no-such-mesh.dat"));
}

// A square of four vertices whose keys grow and tilt, with non-zero tangents.
TrkMesh morphingSquare() {
  TrkMesh t(4, {0, 1, 2, 2, 1, 3});
  const float corners[4][2] = {{-1, -1}, {1, -1}, {-1, 1}, {1, 1}};
  for (int k = 0; k < 10; ++k) {
    const float s = 0.4f + 0.05f * k;
    for (int v = 0; v < 4; ++v) {
      for (int c = 0; c < 2; ++c) {
        t.keyPositions[k][v * 3 + c] = corners[v][c] * s;
        t.keyNormals[k][v * 3 + c] = corners[v][c] * 0.1f * k;
        t.positionTangents[k][v * 3 + c] = 0.02f * (v - c);
        t.normalTangents[k][v * 3 + c] = 0.03f * c;
      }
      t.keyPositions[k][v * 3 + 2] = -2;
      t.keyNormals[k][v * 3 + 2] = 1;
    }
  }
  return t;
}

class MorphMeshGl : public MeshGl {
 protected:
  void SetUp() override {
    MeshGl::SetUp();
    // A 2 x 2 checker makes the texture coordinates visible.
    const GLubyte checker[16] = {255, 255, 255, 255, 40,  40,  40,  255,
                                 40,  40,  40,  255, 255, 255, 255, 255};
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 2, 2, 0, GL_RGBA, GL_UNSIGNED_BYTE, checker);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_LIGHTING);
  }
  void TearDown() override {
    clearGlEntryPoints();
    MeshGl::TearDown();
  }

  std::vector<std::uint8_t> drawAfterSteps(MorphMesh& mesh) {
    for (int i = 0; i < 6; ++i) mesh.advance(0.7f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    mesh.bindArrays();
    GLint bound = -1;
    glGetIntegerv(GL_ARRAY_BUFFER_BINDING_ARB, &bound);
    EXPECT_EQ(bound, 0) << "no buffer left bound for other objects' client arrays";
    mesh.drawElements();
    glDisableClientState(GL_VERTEX_ARRAY);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glDisableClientState(GL_NORMAL_ARRAY);
    return readPixels();
  }

  GLuint texture = 0;
};

TEST_F(MorphMeshGl, BufferObjectsAndClientArraysDrawTheSamePicture) {
  const Bytes file = morphingSquare().bytes();
  AssetBuffer entry;

  lookUpGlEntryPoints(offscreenProcAddress);
  ASSERT_TRUE(vertexBuffersAvailable) << "the off-screen context offers buffer objects";
  MorphMesh withBuffer;
  ASSERT_TRUE(openBytes(entry, file));
  ASSERT_TRUE(withBuffer.loadEntry(entry));
  EXPECT_NE(withBuffer.buffer, 0u);
  const auto viaBuffer = drawAfterSteps(withBuffer);

  clearGlEntryPoints();
  MorphMesh withoutBuffer;
  ASSERT_TRUE(openBytes(entry, file));
  ASSERT_TRUE(withoutBuffer.loadEntry(entry));
  EXPECT_EQ(withoutBuffer.buffer, 0u);
  const auto viaClient = drawAfterSteps(withoutBuffer);

  EXPECT_TRUE(viaBuffer == viaClient);
  int lit = 0, bright = 0;
  for (std::size_t i = 0; i < viaClient.size(); i += 4) {
    lit += viaClient[i] > 0;
    bright += viaClient[i] > 100;
  }
  EXPECT_GT(lit, 400) << "the square is drawn";
  EXPECT_GT(bright, 50) << "with both checker colours";
  EXPECT_LT(bright, lit - 50);
}

TEST_F(MorphMeshGl, ABrokenEntryDrawsNothing) {
  lookUpGlEntryPoints(offscreenProcAddress);
  TrkMesh broken = morphingSquare();
  broken.indices[5] = 4;
  AssetBuffer entry;
  ASSERT_TRUE(openBytes(entry, broken.bytes()));
  MorphMesh mesh;
  EXPECT_FALSE(mesh.loadEntry(entry));
  EXPECT_EQ(mesh.buffer, 0u);
  const auto pixels = drawAfterSteps(mesh);
  for (std::uint8_t b : pixels) ASSERT_EQ(b, 0);
}

}  // namespace
