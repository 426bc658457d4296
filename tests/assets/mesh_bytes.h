#pragma once
// Builds .dat and .trk entries in memory for the mesh tests.
#include <cstdint>
#include <cstring>
#include <vector>

class ByteWriter {
 public:
  void u32(std::uint32_t v) { put(&v, 4); }
  void f32(float v) { put(&v, 4); }
  void floats(const std::vector<float>& v) {
    for (float f : v) f32(f);
  }
  void u32s(const std::vector<std::uint32_t>& v) {
    for (std::uint32_t u : v) u32(u);
  }
  std::vector<std::uint8_t> bytes;

 private:
  void put(const void* p, std::size_t n) {
    const auto* b = static_cast<const std::uint8_t*>(p);
    bytes.insert(bytes.end(), b, b + n);
  }
};

struct DatMesh {
  std::vector<float> positions;              // 3 per vertex
  std::vector<std::uint32_t> vertexIndices;  // 3 per triangle
  std::vector<std::uint32_t> texIndices;     // 3 per triangle
  std::vector<float> texVertices;            // 2 per texture vertex
  std::vector<float> normals;                // 9 per triangle

  std::vector<std::uint8_t> bytes() const {
    ByteWriter w;
    w.u32(static_cast<std::uint32_t>(positions.size() / 3));
    w.u32(static_cast<std::uint32_t>(vertexIndices.size() / 3));
    w.u32(static_cast<std::uint32_t>(texVertices.size() / 2));
    w.floats(positions);
    w.u32s(vertexIndices);
    w.u32s(texIndices);
    w.floats(texVertices);
    w.floats(normals);
    return w.bytes;
  }
};

struct TrkMesh {
  static constexpr int keys = 10;
  std::uint32_t vertexCount = 0;
  std::uint32_t triangleCount = 0;
  std::vector<std::uint32_t> indices;
  std::vector<float> positions, normals, texCoords;  // initial shape
  std::vector<float> keyPositions[keys], keyNormals[keys], positionTangents[keys],
      normalTangents[keys];

  // Every array sized for `v` vertices and zero-filled.
  TrkMesh(std::uint32_t v, std::vector<std::uint32_t> idx)
      : vertexCount(v),
        triangleCount(static_cast<std::uint32_t>(idx.size() / 3)),
        indices(std::move(idx)) {
    positions.assign(3 * v, 0.0f);
    normals.assign(3 * v, 0.0f);
    texCoords.assign(2 * v, 0.0f);
    for (int k = 0; k < keys; ++k) {
      keyPositions[k].assign(3 * v, 0.0f);
      keyNormals[k].assign(3 * v, 0.0f);
      positionTangents[k].assign(3 * v, 0.0f);
      normalTangents[k].assign(3 * v, 0.0f);
    }
  }

  std::vector<std::uint8_t> bytes() const {
    ByteWriter w;
    w.u32(vertexCount);
    w.u32(triangleCount);
    w.u32(static_cast<std::uint32_t>(indices.size()));
    w.floats(positions);
    w.floats(normals);
    w.floats(texCoords);
    w.u32s(indices);
    for (int k = 0; k < keys; ++k) {
      w.floats(keyPositions[k]);
      w.floats(keyNormals[k]);
    }
    for (int k = 0; k < keys; ++k) {
      w.floats(positionTangents[k]);
      w.floats(normalTangents[k]);
    }
    return w.bytes;
  }
};
