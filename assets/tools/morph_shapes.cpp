#include "assets/tools/morph_shapes.h"

#include <string>

#include "tools/common/binary_writer.h"
#include "tools/common/output_file.h"

void computeMorphTangents(MorphShapes& shapes) {
  const std::size_t n = static_cast<std::size_t>(shapes.vertexCount) * 3;
  auto tangents = [n](const std::array<std::vector<float>, morphKeyCount>& keys,
                      std::array<std::vector<float>, morphKeyCount>& out) {
    for (int k = 0; k < morphKeyCount; ++k) {
      const std::vector<float>& prev = keys[(k + morphKeyCount - 1) % morphKeyCount];
      const std::vector<float>& cur = keys[k];
      const std::vector<float>& next = keys[(k + 1) % morphKeyCount];
      out[k].assign(n, 0.0f);
      for (std::size_t c = 0; c < n; ++c) {
        const float a = cur[c] - prev[c];
        const float b = next[c] - cur[c];
        out[k][c] = (a + (b - a) * 0.5f) * 1.0f;
      }
    }
  };
  tangents(shapes.keyPositions, shapes.keyPositionTangents);
  tangents(shapes.keyNormals, shapes.keyNormalTangents);
}

std::vector<std::uint8_t> encodeTrk(const MorphShapes& shapes) {
  BinaryWriter out;
  out.u32(shapes.vertexCount);
  out.u32(shapes.triangleCount);
  out.u32(static_cast<std::uint32_t>(shapes.indices.size()));
  out.floats(shapes.positions);
  out.floats(shapes.normals);
  out.floats(shapes.texCoords);
  out.words(shapes.indices);
  for (int k = 0; k < morphKeyCount; ++k) {
    out.floats(shapes.keyPositions[k]);
    out.floats(shapes.keyNormals[k]);
  }
  for (int k = 0; k < morphKeyCount; ++k) {
    out.floats(shapes.keyPositionTangents[k]);
    out.floats(shapes.keyNormalTangents[k]);
  }
  return std::move(out.bytes());
}

bool writeTrk(const char* path, const MorphShapes& shapes) {
  std::string error;
  return writeFileBytes(path, encodeTrk(shapes), error);
}
