#pragma once
// A vertex-animated mesh from a .trk entry: ten key shapes of the same vertices, blended in a
// loop with cubic Hermite curves and drawn from vertex arrays (in a buffer object when the
// implementation offers them).
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

class AssetBuffer;

class MorphMesh {
 public:
  static constexpr int keyCount = 10;

  virtual ~MorphMesh() = default;

  // Reads the entry, builds the interleaved array and, when buffer objects are available,
  // creates and fills the buffer object. A missing, short or corrupt entry (counts larger
  // than the data, more indices than three per triangle, an index outside the vertices)
  // yields false and an empty mesh that draws nothing.
  bool load(const char* name);
  // The same for an entry already open; the entry is released.
  bool loadEntry(AssetBuffer& entry);

  // The reading part of load alone, with no OpenGL call.
  bool parse(const std::uint8_t* bytes, std::size_t size);

  // Blends the shape at the current phase, updates the arrays (and the buffer object) and
  // moves the phase on by `step` key units, wrapping to 0 at 10.
  void advance(float step);

  // Enables and points the vertex, texture-coordinate and normal arrays at the current shape.
  void bindArrays();

  // Draws the indices as triangles.
  void drawElements();

  std::uint32_t buffer = 0;
  std::uint32_t vertexCount = 0;
  std::uint32_t indexCount = 0;
  std::uint32_t triangleCount = 0;
  float phase = 0.0f;
  std::vector<std::uint32_t> indices;  // the indexCount stored indices
  std::vector<float> positions;        // 3 per vertex
  std::vector<float> texCoords;        // 2 per vertex
  std::vector<float> normals;          // 3 per vertex
  std::vector<float> interleaved;      // x, y, z, nx, ny, nz, u, v per vertex
  std::array<std::vector<float>, keyCount> keyPositions;
  std::array<std::vector<float>, keyCount> keyNormals;
  std::array<std::vector<float>, keyCount> keyPositionTangents;
  std::array<std::vector<float>, keyCount> keyNormalTangents;

 private:
  void clear();
  void fillInterleaved();
  void upload();
  bool usesBufferObject() const;
};
