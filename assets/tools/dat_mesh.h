#pragma once
// A rigid mesh as the .dat entry stores it: positions, triangles with independent vertex and
// texture-vertex indices, texture vertices, and a normal for every triangle corner.
#include <cstdint>
#include <vector>

struct DatMesh {
  std::vector<float> positions;            // 3 per vertex
  std::vector<std::uint32_t> faces;        // 3 vertex indices per triangle
  std::vector<std::uint32_t> textureFaces; // 3 texture-vertex indices per triangle
  std::vector<float> textureVertices;      // u, v per texture vertex
  std::vector<float> cornerNormals;        // 9 per triangle: corners a, b, c

  std::uint32_t vertexCount() const { return static_cast<std::uint32_t>(positions.size() / 3); }
  std::uint32_t triangleCount() const { return static_cast<std::uint32_t>(faces.size() / 3); }
  std::uint32_t textureVertexCount() const {
    return static_cast<std::uint32_t>(textureVertices.size() / 2);
  }
};

// The entry's bytes: V, F, T, then positions, faces, texture faces, texture vertices, normals.
std::vector<std::uint8_t> encodeDat(const DatMesh& mesh);

// Writes the entry to a plain file; false when the file cannot be written.
bool writeDat(const char* path, const DatMesh& mesh);
