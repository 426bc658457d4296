#include "assets/morph_mesh.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include <cmath>
#include <cstring>

#include "assets/asset_buffer.h"
#include "platform/gl_entry_points.h"

namespace {

constexpr std::size_t floatsPerVertex = 8;
constexpr std::size_t bytesPerVertex = floatsPerVertex * sizeof(float);

void readFloats(const std::uint8_t*& at, std::vector<float>& out, std::size_t count) {
  out.resize(count);
  if (count) std::memcpy(out.data(), at, count * sizeof(float));
  at += count * sizeof(float);
}

}  // namespace

void MorphMesh::clear() { *this = MorphMesh{}; }

bool MorphMesh::usesBufferObject() const { return buffer != 0 && vertexBuffersAvailable; }

bool MorphMesh::parse(const std::uint8_t* bytes, std::size_t size) {
  clear();
  if (!bytes || size < 12) return false;
  std::uint32_t counts[3];
  std::memcpy(counts, bytes, sizeof counts);
  const std::uint64_t v = counts[0], k = counts[1], i = counts[2];
  // Sizes in 64 bits cannot wrap; more indices than the triangles hold is a corrupt entry.
  if (i > 3 * k || 12 + 512 * v + 4 * i > size) return false;

  const std::uint8_t* at = bytes + 12;
  readFloats(at, positions, 3 * v);
  readFloats(at, normals, 3 * v);
  readFloats(at, texCoords, 2 * v);
  indices.resize(i);
  if (i) std::memcpy(indices.data(), at, i * 4);
  at += i * 4;
  for (int key = 0; key < keyCount; ++key) {
    readFloats(at, keyPositions[key], 3 * v);
    readFloats(at, keyNormals[key], 3 * v);
  }
  for (int key = 0; key < keyCount; ++key) {
    readFloats(at, keyPositionTangents[key], 3 * v);
    readFloats(at, keyNormalTangents[key], 3 * v);
  }
  for (std::uint32_t index : indices) {
    if (index >= counts[0]) {
      clear();
      return false;
    }
  }
  vertexCount = counts[0];
  triangleCount = counts[1];
  indexCount = counts[2];
  fillInterleaved();
  return true;
}

void MorphMesh::fillInterleaved() {
  interleaved.resize(std::size_t{vertexCount} * floatsPerVertex);
  for (std::size_t n = 0; n < vertexCount; ++n) {
    float* out = &interleaved[n * floatsPerVertex];
    std::memcpy(out, &positions[n * 3], 3 * sizeof(float));
    std::memcpy(out + 3, &normals[n * 3], 3 * sizeof(float));
    std::memcpy(out + 6, &texCoords[n * 2], 2 * sizeof(float));
  }
}

void MorphMesh::upload() {
  if (!vertexBuffersAvailable || vertexCount == 0) return;
  GLuint name = 0;
  glEntryPoints.genBuffers(1, &name);
  buffer = name;
  glEntryPoints.bindBuffer(GL_ARRAY_BUFFER_ARB, buffer);
  glEntryPoints.bufferData(GL_ARRAY_BUFFER_ARB,
                           static_cast<GLsizeiptrARB>(vertexCount * bytesPerVertex),
                           interleaved.data(), GL_STREAM_DRAW_ARB);
  // Unbound again so that other objects' client-side arrays are not read as buffer offsets.
  glEntryPoints.bindBuffer(GL_ARRAY_BUFFER_ARB, 0);
}

bool MorphMesh::load(const char* name) {
  AssetBuffer entry;
  if (!entry.open(name)) {
    clear();
    return false;
  }
  return loadEntry(entry);
}

bool MorphMesh::loadEntry(AssetBuffer& entry) {
  const bool parsed = parse(entry.data, entry.size);
  entry.release();
  if (parsed) upload();
  return parsed;
}

void MorphMesh::advance(float step) {
  // A phase outside the loop (never made by the rules below, but a field anyone may set)
  // starts the loop again rather than indexing past the keys.
  if (!(phase >= 0.0f && phase < static_cast<float>(keyCount))) phase = 0.0f;
  int k = static_cast<int>(phase);
  if (k >= keyCount) k = 0;
  const int n = k + 1 == keyCount ? 0 : k + 1;
  const float t = phase - static_cast<float>(k);
  const float t2 = t * t;
  const float t3 = t2 * t;
  const float h00 = 2.0f * t3 - 3.0f * t2 + 1.0f;
  const float h10 = t3 - 2.0f * t2 + t;
  const float h01 = -2.0f * t3 + 3.0f * t2;
  const float h11 = t3 - t2;

  const float* p0 = keyPositions[k].data();
  const float* p1 = keyPositions[n].data();
  const float* m0 = keyPositionTangents[k].data();
  const float* m1 = keyPositionTangents[n].data();
  const float* q0 = keyNormals[k].data();
  const float* q1 = keyNormals[n].data();
  const float* r0 = keyNormalTangents[k].data();
  const float* r1 = keyNormalTangents[n].data();
  for (std::size_t v = 0; v < vertexCount; ++v) {
    float* out = &interleaved[v * floatsPerVertex];
    float sum[3];
    for (std::size_t c = 0; c < 3; ++c) {
      const std::size_t i = v * 3 + c;
      const float position = h00 * p0[i] + h10 * m0[i] + h01 * p1[i] + h11 * m1[i];
      const float normal = h00 * q0[i] + h10 * r0[i] + h01 * q1[i] + h11 * r1[i];
      positions[i] = position;
      normals[i] = normal;
      out[c] = position;
      out[3 + c] = normal;
      sum[c] = position + normal;
    }
    // The texture slides with the shape; a zero sum has no direction and keeps (0, 0)
    // rather than becoming NaN.
    const float length = std::sqrt(sum[0] * sum[0] + sum[1] * sum[1] + sum[2] * sum[2]);
    float u = 0.0f, w = 0.0f;
    if (length > 0.0f && std::isfinite(length)) {
      u = sum[0] / length / 2.0f;
      w = sum[1] / length / 2.0f;
    }
    texCoords[v * 2] = u;
    texCoords[v * 2 + 1] = w;
    out[6] = u;
    out[7] = w;
  }
  if (usesBufferObject()) {
    glEntryPoints.bindBuffer(GL_ARRAY_BUFFER_ARB, buffer);
    glEntryPoints.bufferSubData(GL_ARRAY_BUFFER_ARB, 0,
                                static_cast<GLsizeiptrARB>(vertexCount * bytesPerVertex),
                                interleaved.data());
    glEntryPoints.bindBuffer(GL_ARRAY_BUFFER_ARB, 0);
  }
  phase += step;
  if (!(phase >= 0.0f && phase < static_cast<float>(keyCount))) phase = 0.0f;
}

void MorphMesh::bindArrays() {
  if (vertexCount == 0) return;
  glEnableClientState(GL_VERTEX_ARRAY);
  glEnableClientState(GL_TEXTURE_COORD_ARRAY);
  glEnableClientState(GL_NORMAL_ARRAY);
  if (usesBufferObject()) {
    // The pointers keep referring to the buffer after it is unbound again.
    glEntryPoints.bindBuffer(GL_ARRAY_BUFFER_ARB, buffer);
    glVertexPointer(3, GL_FLOAT, bytesPerVertex, reinterpret_cast<const void*>(0));
    glTexCoordPointer(2, GL_FLOAT, bytesPerVertex, reinterpret_cast<const void*>(24));
    glNormalPointer(GL_FLOAT, bytesPerVertex, reinterpret_cast<const void*>(12));
    glEntryPoints.bindBuffer(GL_ARRAY_BUFFER_ARB, 0);
  } else {
    glVertexPointer(3, GL_FLOAT, 0, positions.data());
    glTexCoordPointer(2, GL_FLOAT, 0, texCoords.data());
    glNormalPointer(GL_FLOAT, 0, normals.data());
  }
}

void MorphMesh::drawElements() {
  if (indexCount == 0) return;
  glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(indexCount), GL_UNSIGNED_INT, indices.data());
}
