#pragma once
// The ten key shapes of a vertex-animated mesh with their Hermite tangents, as the .trk entry
// stores them.
#include <array>
#include <cstdint>
#include <vector>

constexpr int morphKeyCount = 10;

struct MorphShapes {
  std::uint32_t vertexCount = 0;
  std::uint32_t triangleCount = 0;
  std::vector<std::uint32_t> indices;  // 3 per triangle
  std::vector<float> positions;        // initial shape, 3 per vertex
  std::vector<float> normals;          // initial normals, 3 per vertex
  std::vector<float> texCoords;        // initial texture coordinates, 2 per vertex
  std::array<std::vector<float>, morphKeyCount> keyPositions;
  std::array<std::vector<float>, morphKeyCount> keyNormals;
  std::array<std::vector<float>, morphKeyCount> keyPositionTangents;
  std::array<std::vector<float>, morphKeyCount> keyNormalTangents;
};

// Central-difference tangents of every key, wrapping around so that key 9 leads back into
// key 0 and the loop has no seam.
void computeMorphTangents(MorphShapes& shapes);

// The entry's bytes: V, K, I, initial arrays, indices, key shapes, key tangents.
std::vector<std::uint8_t> encodeTrk(const MorphShapes& shapes);

// Writes the .trk layout to a plain file; false when it cannot be written.
bool writeTrk(const char* path, const MorphShapes& shapes);
