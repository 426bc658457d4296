#pragma once
// A rigid triangle mesh read from a .dat entry and compiled into one OpenGL display list.
#include <cstddef>
#include <cstdint>
#include <vector>

class AssetBuffer;

// The contents of a .dat entry: positions, per-triangle vertex and texture-vertex indices,
// texture vertices and three normals per triangle (one per corner).
struct MeshData {
  std::uint32_t vertexCount = 0;
  std::uint32_t triangleCount = 0;
  std::uint32_t texVertexCount = 0;
  std::vector<float> positions;                 // 3 per vertex
  std::vector<std::uint32_t> vertexIndices;     // 3 per triangle
  std::vector<std::uint32_t> texVertexIndices;  // 3 per triangle
  std::vector<float> texVertices;               // 2 per texture vertex
  std::vector<float> cornerNormals;             // 9 per triangle
};

// Reads a .dat entry held in memory. Fails, leaving `mesh` empty, when the entry is shorter
// than its counts say or an index names a vertex or texture vertex that does not exist.
bool parseMeshData(const std::uint8_t* bytes, std::size_t size, MeshData& mesh);

class MeshModel {
 public:
  virtual ~MeshModel() = default;

  // Reads the entry and compiles its display list into `list`; false (and `list` 0) when the
  // entry is missing or malformed or no list name could be had.
  bool load(const char* name);
  // The same for an entry already open; the entry is released.
  bool loadEntry(AssetBuffer& entry);

  std::uint32_t list = 0;
};

// One triangle corner as the mesh is drawn: normal, texture coordinate, position.
struct MeshCorner {
  float normal[3];
  float texCoord[2];
  float position[3];
};

// The corners of every triangle in drawing order (three per triangle), exactly what
// compileMeshList compiles. Empty when the record disagrees with its own counts or indices.
std::vector<MeshCorner> meshCorners(const MeshData& mesh);

// Compiles (without executing) one triangle batch of meshCorners(mesh). Returns the list name,
// 0 when none could be had.
std::uint32_t compileMeshList(const MeshData& mesh);
