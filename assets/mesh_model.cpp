#include "assets/mesh_model.h"

#include <GL/gl.h>

#include <cstring>

#include "assets/asset_buffer.h"

namespace {

template <typename T>
void copyArray(const std::uint8_t*& at, std::vector<T>& out, std::size_t count) {
  out.resize(count);
  if (count) std::memcpy(out.data(), at, count * sizeof(T));
  at += count * sizeof(T);
}

bool indicesBelow(const std::vector<std::uint32_t>& indices, std::size_t limit) {
  for (std::uint32_t i : indices) {
    if (i >= limit) return false;
  }
  return true;
}

}  // namespace

bool parseMeshData(const std::uint8_t* bytes, std::size_t size, MeshData& mesh) {
  mesh = MeshData{};
  if (!bytes || size < 12) return false;
  std::uint32_t counts[3];
  std::memcpy(counts, bytes, sizeof counts);
  const std::uint64_t v = counts[0], f = counts[1], t = counts[2];
  // In 64 bits the sum cannot wrap, so a count too large for the entry is always caught here.
  if (12 + 12 * v + 60 * f + 8 * t > size) return false;

  const std::uint8_t* at = bytes + 12;
  copyArray(at, mesh.positions, 3 * v);
  copyArray(at, mesh.vertexIndices, 3 * f);
  copyArray(at, mesh.texVertexIndices, 3 * f);
  copyArray(at, mesh.texVertices, 2 * t);
  copyArray(at, mesh.cornerNormals, 9 * f);
  mesh.vertexCount = counts[0];
  mesh.triangleCount = counts[1];
  mesh.texVertexCount = counts[2];
  if (!indicesBelow(mesh.vertexIndices, counts[0]) ||
      !indicesBelow(mesh.texVertexIndices, counts[2])) {
    mesh = MeshData{};
    return false;
  }
  return true;
}

std::vector<MeshCorner> meshCorners(const MeshData& mesh) {
  std::vector<MeshCorner> corners;
  // A record not made by parseMeshData may disagree with its own counts: draw nothing then.
  const std::size_t slots = std::size_t{mesh.triangleCount} * 3;
  if (mesh.vertexIndices.size() < slots || mesh.texVertexIndices.size() < slots ||
      mesh.cornerNormals.size() < slots * 3 ||
      !indicesBelow(mesh.vertexIndices, mesh.positions.size() / 3) ||
      !indicesBelow(mesh.texVertexIndices, mesh.texVertices.size() / 2)) {
    return corners;
  }
  corners.reserve(slots);
  for (std::size_t slot = 0; slot < slots; ++slot) {
    MeshCorner c;
    std::memcpy(c.normal, &mesh.cornerNormals[slot * 3], sizeof c.normal);
    std::memcpy(c.texCoord, &mesh.texVertices[std::size_t{mesh.texVertexIndices[slot]} * 2],
                sizeof c.texCoord);
    std::memcpy(c.position, &mesh.positions[std::size_t{mesh.vertexIndices[slot]} * 3],
                sizeof c.position);
    corners.push_back(c);
  }
  return corners;
}

std::uint32_t compileMeshList(const MeshData& mesh) {
  const std::vector<MeshCorner> corners = meshCorners(mesh);
  const GLuint list = glGenLists(1);
  if (list == 0) return 0;
  glNewList(list, GL_COMPILE);
  glBegin(GL_TRIANGLES);
  for (const MeshCorner& c : corners) {
    glNormal3fv(c.normal);
    glTexCoord2fv(c.texCoord);
    glVertex3fv(c.position);
  }
  glEnd();
  glEndList();
  glFinish();
  return list;
}

bool MeshModel::load(const char* name) {
  AssetBuffer entry;
  if (!entry.open(name)) {
    list = 0;
    return false;
  }
  return loadEntry(entry);
}

bool MeshModel::loadEntry(AssetBuffer& entry) {
  list = 0;
  MeshData mesh;
  const bool parsed = parseMeshData(entry.data, entry.size, mesh);
  entry.release();
  if (!parsed) return false;
  list = compileMeshList(mesh);
  return list != 0;
}
