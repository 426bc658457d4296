#include "scenes/mesh_batch.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <map>

#include "assets/asset_buffer.h"
#include "platform/gl_entry_points.h"

Transform Transform::identity() {
  Transform t{};
  t.m[0] = t.m[5] = t.m[10] = t.m[15] = 1.0f;
  return t;
}

namespace {

// this = this * b, column-major, in double like the GL matrix path effectively does.
void multiplyRight(float (&a)[16], const double (&b)[16]) {
  float out[16];
  for (int c = 0; c < 4; ++c) {
    for (int r = 0; r < 4; ++r) {
      double sum = 0;
      for (int k = 0; k < 4; ++k) sum += a[k * 4 + r] * b[c * 4 + k];
      out[c * 4 + r] = static_cast<float>(sum);
    }
  }
  std::copy(out, out + 16, a);
}

std::uint8_t colourByte(float v) {
  if (!(v > 0.0f)) return 0;  // NaN as well
  if (v >= 1.0f) return 255;
  return static_cast<std::uint8_t>(std::lround(v * 255.0f));
}

}  // namespace

Transform& Transform::translate(Vec3 v) {
  // Only the last column changes: m[12..14] += M * v.
  for (int r = 0; r < 4; ++r) {
    m[12 + r] =
        static_cast<float>(static_cast<double>(m[r]) * v.x + static_cast<double>(m[4 + r]) * v.y +
                           static_cast<double>(m[8 + r]) * v.z + m[12 + r]);
  }
  return *this;
}

Transform& Transform::rotate(Vec3 axis, float degrees) {
  double r[3][3];
  if (!glRotationMatrix(axis, degrees, r)) return *this;
  // The same matrix, column-major with the homogeneous row and column.
  const double b[16] = {r[0][0], r[1][0], r[2][0], 0, r[0][1], r[1][1], r[2][1], 0,
                        r[0][2], r[1][2], r[2][2], 0, 0,       0,       0,       1};
  multiplyRight(m, b);
  return *this;
}

Transform& Transform::scale(float s) {
  for (int i = 0; i < 12; ++i) m[i] *= s;
  return *this;
}

Vec3 Transform::applyPoint(Vec3 p) const {
  const Vec3 d = applyDirection(p);
  return {d.x + m[12], d.y + m[13], d.z + m[14]};
}

Vec3 Transform::applyDirection(Vec3 d) const {
  return {m[0] * d.x + m[4] * d.y + m[8] * d.z, m[1] * d.x + m[5] * d.y + m[9] * d.z,
          m[2] * d.x + m[6] * d.y + m[10] * d.z};
}

MeshBatch& MeshBatch::operator=(const MeshBatch& other) {
  if (this != &other) {
    unique = other.unique;
    cornerIndex = other.cornerIndex;
    vertices.clear();
    indices.clear();
  }
  return *this;
}

bool MeshBatch::load(const char* name) {
  setCorners({});
  AssetBuffer entry;
  if (!entry.open(name)) return false;
  MeshData mesh;
  const bool parsed = parseMeshData(entry.data, entry.size, mesh);
  entry.release();
  if (!parsed) return false;
  setCorners(meshCorners(mesh));
  return !unique.empty();
}

void MeshBatch::setCorners(const std::vector<MeshCorner>& meshCorners) {
  unique.clear();
  cornerIndex.clear();
  vertices.clear();
  indices.clear();
  // Keyed by the corner's bits: equal floats merge, nothing else does.
  std::map<std::array<std::uint32_t, 8>, std::uint32_t> seen;
  for (const MeshCorner& c : meshCorners) {
    std::array<std::uint32_t, 8> key;
    static_assert(sizeof key == sizeof c);
    std::memcpy(key.data(), &c, sizeof key);
    const auto [at, added] = seen.emplace(key, static_cast<std::uint32_t>(unique.size()));
    if (added) unique.push_back(c);
    cornerIndex.push_back(at->second);
  }
}

void MeshBatch::add(const Transform& transform, Vec3 colour, float alpha) {
  const std::uint8_t rgba[4] = {colourByte(colour.x), colourByte(colour.y), colourByte(colour.z),
                                colourByte(alpha)};
  const std::size_t first = vertices.size();
  vertices.resize(first + unique.size());
  Vertex* out = vertices.data() + first;
  const float* m = transform.m;
  for (const MeshCorner& c : unique) {
    out->texCoord[0] = c.texCoord[0];
    out->texCoord[1] = c.texCoord[1];
    std::copy(rgba, rgba + 4, out->colour);
    const float nx = c.normal[0], ny = c.normal[1], nz = c.normal[2];
    // Rotations and a uniform scale: the matrix itself turns normals; unit length is restored
    // here so the picture does not depend on GL_NORMALIZE.
    float tx = m[0] * nx + m[4] * ny + m[8] * nz;
    float ty = m[1] * nx + m[5] * ny + m[9] * nz;
    float tz = m[2] * nx + m[6] * ny + m[10] * nz;
    const float len2 = tx * tx + ty * ty + tz * tz;
    if (len2 > 0.0f) {
      const float inv = 1.0f / std::sqrt(len2);
      tx *= inv;
      ty *= inv;
      tz *= inv;
    }
    out->normal[0] = tx;
    out->normal[1] = ty;
    out->normal[2] = tz;
    const float px = c.position[0], py = c.position[1], pz = c.position[2];
    out->position[0] = m[0] * px + m[4] * py + m[8] * pz + m[12];
    out->position[1] = m[1] * px + m[5] * py + m[9] * pz + m[13];
    out->position[2] = m[2] * px + m[6] * py + m[10] * pz + m[14];
    ++out;
  }
}

void MeshBatch::draw() {
  const std::size_t copies = copyCount();
  if (copies == 0 || cornerIndex.empty()) return;
  // Mesa's software pipeline fetches and shades the whole index range of a draw at once in
  // storage it allocates for that draw; past a few thousand vertices that costs far more than
  // the vertices themselves. The copies therefore go out in runs of whole copies spanning about
  // chunkVertices vertices, each drawn with the same indices (those of the first run) from
  // arrays pointed at the run's first vertex.
  const std::size_t chunkCopies =
      std::max<std::size_t>(1, std::min(copies, chunkVertices / unique.size()));
  if (indices.size() < chunkCopies * cornerIndex.size()) {
    indices.clear();
    for (std::size_t copy = 0; copy < chunkCopies; ++copy) {
      const auto base = static_cast<std::uint32_t>(copy * unique.size());
      for (std::uint32_t k : cornerIndex) indices.push_back(base + k);
    }
  }

  constexpr GLsizei stride = sizeof(Vertex);
  const std::size_t vertexBytes = vertices.size() * sizeof(Vertex);
  const char* vertexBase = reinterpret_cast<const char*>(vertices.data());
  const char* indexBase = reinterpret_cast<const char*>(indices.data());
  const bool buffered = vertexBuffersAvailable;
  if (buffered) {
    if (vertexBuffer == 0) glEntryPoints.genBuffers(1, &vertexBuffer);
    if (indexBuffer == 0) glEntryPoints.genBuffers(1, &indexBuffer);
    // Storage is only ever grown; a frame's data is written into what is there.
    glEntryPoints.bindBuffer(GL_ARRAY_BUFFER_ARB, vertexBuffer);
    if (vertexBytes > vertexCapacity) {
      glEntryPoints.bufferData(GL_ARRAY_BUFFER_ARB, static_cast<GLsizeiptrARB>(vertexBytes),
                               vertexBase, GL_STREAM_DRAW_ARB);
      vertexCapacity = vertexBytes;
    } else {
      glEntryPoints.bufferSubData(GL_ARRAY_BUFFER_ARB, 0, static_cast<GLsizeiptrARB>(vertexBytes),
                                  vertexBase);
    }
    glEntryPoints.bindBuffer(GL_ELEMENT_ARRAY_BUFFER_ARB, indexBuffer);
    const std::size_t indexBytes = indices.size() * sizeof(std::uint32_t);
    if (indexBytes > indexCapacity) {
      // Indices depend only on the run length: uploaded again only when it grows.
      indexCapacity = indexBytes;
      glEntryPoints.bufferData(GL_ELEMENT_ARRAY_BUFFER_ARB,
                               static_cast<GLsizeiptrARB>(indexCapacity), indexBase,
                               GL_STATIC_DRAW_ARB);
    }
  }

  // With buffer objects bound the pointers are offsets into them; GL takes them as addresses.
  const std::uintptr_t vertexAt = buffered ? 0 : reinterpret_cast<std::uintptr_t>(vertexBase);
  const std::uintptr_t indexAt = buffered ? 0 : reinterpret_cast<std::uintptr_t>(indexBase);
  auto address = [](std::uintptr_t at) { return reinterpret_cast<const void*>(at); };
  glPushClientAttrib(GL_CLIENT_VERTEX_ARRAY_BIT);
  glEnableClientState(GL_VERTEX_ARRAY);
  glEnableClientState(GL_NORMAL_ARRAY);
  glEnableClientState(GL_COLOR_ARRAY);
  glEnableClientState(GL_TEXTURE_COORD_ARRAY);
  for (std::size_t first = 0; first < copies; first += chunkCopies) {
    const std::size_t n = std::min(chunkCopies, copies - first);
    const std::uintptr_t at = vertexAt + first * unique.size() * stride;
    glVertexPointer(3, GL_FLOAT, stride, address(at + offsetof(Vertex, position)));
    glNormalPointer(GL_FLOAT, stride, address(at + offsetof(Vertex, normal)));
    glColorPointer(4, GL_UNSIGNED_BYTE, stride, address(at + offsetof(Vertex, colour)));
    glTexCoordPointer(2, GL_FLOAT, stride, address(at + offsetof(Vertex, texCoord)));
    glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(n * cornerIndex.size()), GL_UNSIGNED_INT,
                   address(indexAt));
  }
  glPopClientAttrib();
  if (buffered) {
    glEntryPoints.bindBuffer(GL_ARRAY_BUFFER_ARB, 0);
    glEntryPoints.bindBuffer(GL_ELEMENT_ARRAY_BUFFER_ARB, 0);
  }
  // A colour array leaves the current colour undefined afterwards; later drawing sets its own.
}
