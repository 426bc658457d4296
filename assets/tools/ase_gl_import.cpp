// The imports into the saver's mesh objects: what the data imports produce, handed to the
// same code that loads the entries, so a tool-built mesh is exactly what the saver will draw.
#include "assets/asset_buffer.h"
#include "assets/mesh_model.h"
#include "assets/morph_mesh.h"
#include "assets/tools/ase_import.h"
#include "assets/tools/binary_writer.h"

bool importAse(MeshModel& model, const char* sourcePath) {
  MeshData mesh;
  if (!importAse(sourcePath, mesh)) return false;
  model.list = compileMeshList(mesh);
  return model.list != 0;
}

bool importAnimatedAse(MorphMesh& mesh, const char* sourcePath) {
  MorphShapes shapes;
  if (!importAnimatedAse(sourcePath, shapes)) return false;
  const std::vector<std::uint8_t> bytes = encodeTrk(shapes);
  AssetBuffer entry;
  if (!entry.openFromMemory(bytes.data(), static_cast<std::uint32_t>(bytes.size()))) return false;
  return mesh.loadEntry(entry);
}

bool writeTrk(const char* path, const MorphMesh& mesh) {
  BinaryWriter out;
  out.u32(mesh.vertexCount);
  out.u32(mesh.triangleCount);
  out.u32(mesh.indexCount);
  out.floats(mesh.positions);
  out.floats(mesh.normals);
  out.floats(mesh.texCoords);
  out.words(mesh.indices);
  for (int k = 0; k < MorphMesh::keyCount; ++k) {
    out.floats(mesh.keyPositions[k]);
    out.floats(mesh.keyNormals[k]);
  }
  for (int k = 0; k < MorphMesh::keyCount; ++k) {
    out.floats(mesh.keyPositionTangents[k]);
    out.floats(mesh.keyNormalTangents[k]);
  }
  return writeFileBytes(path, out.bytes());
}
