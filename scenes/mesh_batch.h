#pragma once
// Many copies of one small rigid mesh drawn in a few vertex-array calls. Each copy's matrix
// is applied on the CPU (positions, and normals turned by the same matrix and renormalised),
// with a per-vertex colour, so a draw of many copies replaces one display-list call per copy. The
// picture is the same as pushing the matrix and calling the mesh's list with glColor set: texture
// coordinates come from the mesh (or the active sphere-map generator), lighting sees the
// rotated normals, and the current modelview (the camera) still applies on top.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "assets/mesh_model.h"
#include "render/math.h"

// A column-major 4x4 matrix, as OpenGL stores it. The operations multiply on the right like
// glTranslatef, glRotatef and glScalef do, so a sequence of them reads as the GL calls would.
struct Transform {
  float m[16];

  static Transform identity();
  Transform& translate(Vec3 v);
  Transform& rotate(Vec3 axis, float degrees);  // a zero axis changes nothing
  Transform& scale(float s);
  Vec3 applyPoint(Vec3 p) const;
  Vec3 applyDirection(Vec3 d) const;  // the upper 3x3 only
};

class MeshBatch {
 public:
  // One vertex as handed to OpenGL.
  struct Vertex {
    float texCoord[2];
    std::uint8_t colour[4];
    float normal[3];
    float position[3];
  };

  MeshBatch() = default;
  // Copies share nothing with the original's GL buffers (a copy makes its own when drawn).
  MeshBatch(const MeshBatch& other) { *this = other; }
  MeshBatch& operator=(const MeshBatch& other);
  virtual ~MeshBatch() = default;

  // Reads a .dat entry; false (no corners, draws nothing) when missing or malformed.
  bool load(const char* name);
  // The mesh to copy. Equal corners are merged into one vertex, so each copy transforms only
  // the mesh's distinct vertices and the triangles refer to them by index.
  void setCorners(const std::vector<MeshCorner>& meshCorners);

  // Starts a new frame's list of copies; the storage is kept.
  void clear() { vertices.clear(); }
  // Appends one copy. Colour channels and alpha are clamped to 0..1, as glColor4f would be.
  void add(const Transform& transform, Vec3 colour, float alpha);
  // Draws every copy added since clear() as triangles, in the order added, in runs of about
  // chunkVertices vertices: from buffer objects kept from frame to frame when the
  // implementation has them (no allocation per frame), else from client arrays.
  void draw();

  static constexpr std::size_t chunkVertices = 1024;

  std::size_t copyCount() const { return unique.empty() ? 0 : vertices.size() / unique.size(); }
  bool empty() const { return unique.empty(); }

  std::vector<MeshCorner> unique;          // the mesh's distinct corners
  std::vector<std::uint32_t> cornerIndex;  // per triangle corner, its entry in `unique`
  std::vector<Vertex> vertices;            // unique.size() per copy
  std::vector<std::uint32_t> indices;      // cornerIndex offset for each copy of one run

 private:
  std::uint32_t vertexBuffer = 0, indexBuffer = 0;
  std::size_t vertexCapacity = 0, indexCapacity = 0;  // bytes held by the buffers
};
