#include "assets/tools/mesh_encoding.h"

#include <string>

#include "tools/common/binary_writer.h"
#include "tools/common/output_file.h"

std::vector<std::uint8_t> encodeDat(const MeshData& mesh) {
  BinaryWriter out;
  out.u32(mesh.vertexCount);
  out.u32(mesh.triangleCount);
  out.u32(mesh.texVertexCount);
  out.floats(mesh.positions);
  out.words(mesh.vertexIndices);
  out.words(mesh.texVertexIndices);
  out.floats(mesh.texVertices);
  out.floats(mesh.cornerNormals);
  return std::move(out.bytes());
}

bool writeDat(const char* path, const MeshData& mesh) {
  std::string error;
  return writeFileBytes(path, encodeDat(mesh), error);
}
