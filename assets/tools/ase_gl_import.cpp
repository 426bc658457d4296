// The imports into the saver's mesh objects: what the data imports produce, handed to the
// same code that loads the entries, so a tool-built mesh is exactly what the saver will draw.
#include "assets/asset_buffer.h"
#include "assets/mesh_model.h"
#include "assets/morph_mesh.h"
#include "assets/tools/ase_import.h"

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
  // One encoder owns the layout: hand the loaded mesh's arrays to it.
  MorphShapes shapes;
  shapes.vertexCount = mesh.vertexCount;
  shapes.triangleCount = mesh.triangleCount;
  shapes.indices = mesh.indices;
  shapes.positions = mesh.positions;
  shapes.normals = mesh.normals;
  shapes.texCoords = mesh.texCoords;
  for (int k = 0; k < MorphMesh::keyCount; ++k) {
    shapes.keyPositions[k] = mesh.keyPositions[k];
    shapes.keyNormals[k] = mesh.keyNormals[k];
    shapes.keyPositionTangents[k] = mesh.keyPositionTangents[k];
    shapes.keyNormalTangents[k] = mesh.keyNormalTangents[k];
  }
  return writeTrk(path, shapes);
}
